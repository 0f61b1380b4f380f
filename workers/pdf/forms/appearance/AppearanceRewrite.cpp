#include "forms/appearance/AppearanceRewrite.h"

#include "forms/appearance/AppearanceRewriteLimits.h"
#include "forms/appearance/AppearanceStream.h"
#include "forms/appearance/ContentWriter.h"
#include "edit/EmbeddedFont.h"
#include "forms/appearance/FieldChain.h"
#include "forms/appearance/NeedAppearancesFields.h"
#include "qpdf/Qpdf.h"
#include "forms/appearance/TrueTypeFont.h"
#include "forms/appearance/UnicodeFontObjects.h"
#include "forms/appearance/WidgetLookReader.h"

#include <QSet>

#include <map>
#include <optional>

namespace velk {

namespace {

using namespace AppearanceRewriteLimits;

const char kFailure[] = "Form alanı görünümü oluşturulamadı; çıktı kaydedilmedi.";

struct PendingWidget {
    qpdf_oh widget = 0;
    WidgetLook look;
};

// Widgets by object number, so that a field filled through two of its
// widgets is drawn once, with the look read last; direct widgets (number
// 0) cannot be shared and keep their own entries.
struct PendingWidgets {
    std::map<int, PendingWidget> indirect;
    QList<PendingWidget> direct;

    void add(Qpdf& qpdf, qpdf_oh widget, const WidgetLook& look)
    {
        const int number = qpdf.objectNumber(widget);
        if (number == 0)
            direct << PendingWidget{widget, look};
        else
            indirect[number] = PendingWidget{widget, look};
    }

    QSet<int> numbers() const
    {
        QSet<int> result;
        for (const auto& [number, entry] : indirect)
            result.insert(number);
        return result;
    }
};

qpdf_oh annotationAt(Qpdf& qpdf, const FilledWidget& filled)
{
    const qpdf_oh page = qpdf.page(filled.page);
    if (!qpdf.isDictionary(page))
        throw QpdfFailure("unreadable widget");
    const qpdf_oh annots = qpdf.key(page, "/Annots");
    if (!qpdf.isArray(annots))
        throw QpdfFailure("unreadable widget");
    const int count = qpdf.arraySize(annots);
    if (count > kMaxPageAnnotations || filled.annotation < 0 || filled.annotation >= count)
        throw QpdfFailure("unreadable widget");
    return qpdf.arrayItem(annots, filled.annotation);
}

void collect(Qpdf& qpdf, const FilledWidget& filled, qpdf_oh acroForm, PendingWidgets& pending)
{
    const FieldChain chain = fieldChainOf(qpdf, annotationAt(qpdf, filled));
    for (const qpdf_oh widget : widgetsOf(qpdf, chain.fieldDictionary())) {
        // Each widget inherits through its own chain (its /Parent is the
        // field, or it is the field).
        const FieldChain own = fieldChainOf(qpdf, widget);
        pending.add(qpdf, widget, readWidgetLook(qpdf, widget, own, acroForm, filled));
    }
}

qpdf_oh appearanceStream(Qpdf& qpdf, const AppearanceForm& form, qpdf_oh font)
{
    QByteArray matrix;
    for (const double entry : form.matrix)
        matrix += ' ' + ContentWriter::number(entry);
    const QByteArray box = ContentWriter::number(form.bboxWidth) + ' ' + ContentWriter::number(form.bboxHeight);
    const qpdf_oh dictionary = qpdf.parse("<< /Type /XObject /Subtype /Form /BBox [0 0 " + box + "] /Matrix ["
                                          + matrix + " ] /Resources << /Font << >> >> >>");
    const qpdf_oh fonts = qpdf.key(qpdf.key(dictionary, "/Resources"), "/Font");
    const QByteArray resourceKey = QByteArray("/") + kAppearanceFontResource;
    qpdf.setKey(fonts, resourceKey.constData(), font);
    return qpdf.newStream(dictionary, form.content);
}

void applyAppearances(Qpdf& qpdf, const PendingWidgets& pending)
{
    const std::optional<TrueTypeFont> font = TrueTypeFont::parse(EmbeddedFont::read());
    if (!font)
        throw QpdfFailure("font unreadable");
    QList<std::pair<qpdf_oh, AppearanceForm>> forms;
    GlyphUse used;
    for (const auto& [number, entry] : pending.indirect)
        forms.append({entry.widget, buildAppearance(entry.look, *font, used)});
    for (const PendingWidget& entry : pending.direct)
        forms.append({entry.widget, buildAppearance(entry.look, *font, used)});
    const qpdf_oh fontReference = createUnicodeFont(qpdf, *font, used);
    for (const auto& [widget, form] : forms) {
        // Only a normal appearance: the down and rollover ones the widget
        // had would show the old text.
        const qpdf_oh appearances = qpdf.parse("<< >>");
        qpdf.setKey(appearances, "/N", appearanceStream(qpdf, form, fontReference));
        qpdf.setKey(widget, "/AP", appearances);
    }
}

// A form that asks readers to regenerate every appearance would have them
// redraw the filled fields in its simple fonts and lose the letters again.
// Its other fields get appearances of their stored values first, so that
// none of them vanishes once readers no longer draw their own.
void keepAppearances(Qpdf& qpdf, qpdf_oh acroForm, PendingWidgets& pending)
{
    if (!asksForAppearances(qpdf, acroForm))
        return;
    for (const StoredWidget& stored : storedValueWidgets(qpdf, acroForm, pending.numbers()))
        pending.add(qpdf, stored.widget, stored.look);
    qpdf.setKey(acroForm, "/NeedAppearances", qpdf.parse("false"));
}

} // namespace

RewrittenPdf rewriteAppearances(const QByteArray& saved, const QList<FilledWidget>& widgets)
{
    try {
        Qpdf qpdf;
        if (!qpdf.bindQpdf())
            throw QpdfFailure("qpdf");
        qpdf.readMemory(saved);
        const qpdf_oh acroForm = qpdf.key(qpdf.root(), "/AcroForm");
        PendingWidgets pending;
        for (const FilledWidget& filled : widgets)
            collect(qpdf, filled, acroForm, pending);
        keepAppearances(qpdf, acroForm, pending);
        applyAppearances(qpdf, pending);
        return {qpdf.writeToMemory(), {}};
    } catch (...) {
        // Every failure, qpdf's or the document's, ends the same way.
        return {{}, QString::fromUtf8(kFailure)};
    }
}

} // namespace velk
