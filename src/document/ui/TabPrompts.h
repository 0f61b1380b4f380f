#pragma once

// The questions a document tab asks its user, as replaceable functions: the
// shipped program answers them with Qt's modal dialogs, tests answer them
// directly. Called on the GUI thread; parent is the asking tab.

#include "document/view/NoteListing.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QUrl;
class QWidget;

namespace velk {

struct NumberQuestion {
    QString title;
    QString label;
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
    double step = 1.0;
};

struct TabPrompts {
    // The document password; nothing when the user cancelled. notice is
    // empty on the first question, else the sentence saying why it is asked
    // again, shown in the dialog above the field.
    std::function<std::optional<QString>(QWidget* parent, const QString& notice)> password;
    // Multi-line text under a title and a label, starting empty.
    std::function<std::optional<QString>(QWidget* parent, const QString& title, const QString& label)> text;
    std::function<std::optional<double>(QWidget* parent, const NumberQuestion& question)> number;
    // Shows the listed notes until the user closes them; the page of the
    // note the user double-clicked, if any.
    std::function<std::optional<int>(QWidget* parent, const QList<PdfNote>& notes)> notes;
    // A yes-or-no question (opening a web link); true for yes.
    std::function<bool(QWidget* parent, const QString& question)> confirm;
    // Hands a web address to the desktop's browser or mail program; true
    // when the desktop took it.
    std::function<bool(const QUrl& url)> openUrl;

    // Qt's input dialogs, the notes dialog, a question box and the desktop.
    static TabPrompts dialogs();
};

} // namespace velk
