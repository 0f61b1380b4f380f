// Interactive form documents for the form tests: objects numbered in
// advance (catalogue, page tree, /Helv, the two button appearances, pages,
// then each field and its widgets) so that pages can name their widgets.

#include "PdfFixtures.h"

#include <QFile>

namespace velk::test {

namespace {

constexpr int kFirstPageObject = 6;
constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;

QByteArray ref(int object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray num(double value)
{
    return QByteArray::number(value, 'f', 2);
}

QByteArray rectOf(const QRectF& rect)
{
    return "[" + num(rect.left()) + ' ' + num(rect.top()) + ' ' + num(rect.right()) + ' ' + num(rect.bottom())
           + "]";
}

// Widgets without a rectangle of their own sit in rows of four.
QRectF rowRect(int widget)
{
    const double x = 30 + 140 * (widget % 4);
    const double y = 800 - 26 * ((widget / 4) % 30);
    return QRectF(x, y - 20, 130, 20);
}

struct Numbering {
    QList<int> fieldObject;
    // Widgets per field: 1 for merged field and widget, else one per state
    // (radio groups) or per requested widget after the field object.
    QList<int> widgetCount;
    int total = 0;
};

bool isGroup(const PdfFormField& field)
{
    return field.states.size() > 1 || field.widgets > 1;
}

int widgetCountOf(const PdfFormField& field)
{
    return field.states.isEmpty() ? qMax(1, field.widgets) : int(field.states.size());
}

Numbering numbering(const PdfFormSpec& spec)
{
    Numbering n;
    int next = kFirstPageObject + spec.pages;
    for (const PdfFormField& field : spec.fields) {
        n.fieldObject << next;
        n.widgetCount << (isGroup(field) ? widgetCountOf(field) : 1);
        next += isGroup(field) ? 1 + widgetCountOf(field) : 1;
    }
    n.total = next - 1;
    return n;
}

// A button widget's two appearances and the one it shows now.
QByteArray buttonAppearance(const QByteArray& state, bool on)
{
    return " /AP << /N << /" + state + " 4 0 R /Off 5 0 R >> >> /AS /" + (on ? state : QByteArray("Off"));
}

QByteArray widgetPart(const PdfFormField& field, int widget, int& placed)
{
    const QRectF rect = widget == 0 && !field.rect.isEmpty() ? field.rect : rowRect(placed);
    ++placed;
    QByteArray body = "/Type /Annot /Subtype /Widget /F " + QByteArray::number(field.annotationFlags) + " /Rect "
                      + rectOf(rect) + " /P "
                      + ref(kFirstPageObject + field.page);
    if (!field.states.isEmpty()) {
        const QByteArray& state = field.states.at(widget);
        body += buttonAppearance(state, field.onState == state);
    }
    return body;
}

QByteArray fieldPart(const PdfFormField& field)
{
    QByteArray body = "/FT " + field.type + " /T (" + field.name + ") /Ff " + QByteArray::number(field.flags);
    if (!field.states.isEmpty())
        body += " /V /" + (field.onState.isEmpty() ? QByteArray("Off") : field.onState);
    if (!field.entries.isEmpty())
        body += ' ' + field.entries;
    return body;
}

QList<QByteArray> fieldBodies(const PdfFormSpec& spec, const Numbering& n, QList<QByteArray>& annots)
{
    QList<QByteArray> bodies;
    int placed = 0;
    for (qsizetype i = 0; i < spec.fields.size(); ++i) {
        const PdfFormField& field = spec.fields.at(i);
        const int object = n.fieldObject.at(i);
        if (!isGroup(field)) {
            bodies << "<< " + fieldPart(field) + ' ' + widgetPart(field, 0, placed) + " >>";
            annots[field.page] += ' ' + ref(object);
            continue;
        }
        QByteArray kids;
        for (int w = 0; w < n.widgetCount.at(i); ++w)
            kids += ' ' + ref(object + 1 + w);
        bodies << "<< " + fieldPart(field) + " /Kids [" + kids + "] >>";
        for (int w = 0; w < n.widgetCount.at(i); ++w) {
            bodies << "<< /Parent " + ref(object) + ' ' + widgetPart(field, w, placed) + " >>";
            annots[field.page] += ' ' + ref(object + 1 + w);
        }
    }
    return bodies;
}

} // namespace

QByteArray formPdfBytes(const PdfFormSpec& spec)
{
    const Numbering n = numbering(spec);
    QList<QByteArray> annots(spec.pages);
    const QList<QByteArray> fields = fieldBodies(spec, n, annots);
    QByteArray fieldRefs;
    for (const int object : n.fieldObject)
        fieldRefs += ' ' + ref(object);
    QByteArray acroForm = "<< /Fields [" + fieldRefs + "] /DA (/Helv 0 Tf 0 g) /DR << /Font << /Helv 3 0 R >> >>";
    if (spec.xfa)
        acroForm += " /XFA [(template) " + ref(n.total + 1) + "]";
    if (spec.needAppearances)
        acroForm += " /NeedAppearances true";
    QByteArray kids;
    for (int p = 0; p < spec.pages; ++p)
        kids += ' ' + ref(kFirstPageObject + p);
    QList<QByteArray> bodies{
        "<< /Type /Catalog /Pages 2 0 R /AcroForm " + acroForm + " >> >>",
        "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(spec.pages) + " >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Type /XObject /Subtype /Form /BBox [0 0 20 20] /Length 18 >>\nstream\n0 g 4 4 12 12 re f\nendstream",
        "<< /Type /XObject /Subtype /Form /BBox [0 0 20 20] /Length 0 >>\nstream\n\nendstream",
    };
    for (int p = 0; p < spec.pages; ++p) {
        bodies << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + num(kPageWidth) + ' ' + num(kPageHeight)
                      + "] /Resources << /Font << /Helv 3 0 R >> >> /Annots [" + annots.at(p) + "] >>";
    }
    bodies += fields;
    if (spec.xfa)
        bodies << "<< /Length 11 >>\nstream\n<template/>\nendstream";
    return pdfFromObjects(bodies);
}

bool writeFormPdf(const QString& path, const PdfFormSpec& spec)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = formPdfBytes(spec);
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace velk::test
