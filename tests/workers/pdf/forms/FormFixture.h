#pragma once

// The form every form test fills: each field kind once, in a known
// annotation order on the first page, and the chores of running "fields"
// and "fillFields" against it.

#include "support/PdfFixtures.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace velk::test {

// Annotation indices of the widgets of sampleForm() on page 0.
enum SampleWidget {
    kName = 0,       // "ad": text, "Ali"
    kAddress,        // "adres": multiline text
    kPassword,       // "parola": password text
    kCode,           // "kod": text with a maximum length of 5
    kConsent,        // "onay": check box, off
    kSubscribed,     // "abone": check box, on
    kFirstRadio,     // "secim": radio "Bir", on
    kSecondRadio,    // "secim": radio "Iki", off
    kCity,           // "sehir": combo box, nothing selected
    kLanguages,      // "diller": multi-select list, "D" and "F" selected
    kColour,         // "renk": single list, "Mavi" selected
    kSend,           // "gonder": push button
    kSignature,      // "imza": unsigned signature field
    kFixed,          // "sabit": read-only text
    kSampleWidgets
};

PdfFormSpec sampleForm();
// Many single-line text fields "alan1", "alan2", … on one page.
PdfFormSpec textFields(int count);

// The entry of the widget at page/annotation in a "fields" reply; empty
// when absent.
QJsonObject entryAt(const QJsonObject& reply, int page, int annotation);

QJsonObject fillRequest(const QString& path, const QString& output, const QJsonArray& updates);
QJsonObject update(int annotation, const QString& key, const QJsonValue& value, int page = 0);

} // namespace velk::test
