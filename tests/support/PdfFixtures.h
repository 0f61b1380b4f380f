#pragma once

// Small, valid PDF files written by the tests themselves: any number of
// pages of any size, one line of text in a standard font per page, further
// lines with Turkish letters, filled rectangles, sticky notes, an optional
// /Rotate, and optionally a text field and signature fields that make the
// document a form. Encrypted copies and structural checks come from the
// real qpdf program, an independent judge of what the project writes.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <utility>

namespace velk::test {

// A filled rectangle in default user space (origin at the bottom left of
// the media box, before /Rotate) and its colour, each component 0 to 1.
struct PdfFill {
    QRectF rect;
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct PdfPageSpec {
    // The four members most pages set, in this order, so that a page reads
    // {612, 792, 0, "Letter"}; the rest are set by name.
    PdfPageSpec(double pageWidth = 595, double pageHeight = 842, int pageRotate = 0,
                QByteArray pageText = "Velk PDF")
        : width(pageWidth)
        , height(pageHeight)
        , rotate(pageRotate)
        , text(std::move(pageText))
    {
    }

    double width;
    double height;
    // 0, 90, 180 or 270; 0 writes no /Rotate.
    int rotate;
    // Latin-1 text shown in Helvetica near the top left; empty for none.
    QByteArray text;
    // Further lines below it, one per entry, 16 points apart. Latin-1 and
    // the Turkish letters Ğ ğ İ ı Ş ş are shown and extracted as written;
    // any other character becomes '?'.
    QStringList lines;
    // Rectangles filled over the text, in order.
    QList<PdfFill> fills;
    // Sticky notes (/Text annotations), one per entry, in annotation order;
    // the entry is the note's "Contents" (an empty entry: an empty string).
    QStringList notes;
    // Content operators of the test's own, drawn last; the page's resources
    // hold /F1 (Helvetica) for them.
    QByteArray content;
};

struct PdfFixtureSpec {
    QList<PdfPageSpec> pages = {PdfPageSpec{}};
    // Non-empty: a text field of this name sits on the first page and the
    // catalogue carries an AcroForm.
    QByteArray formFieldName;
    QByteArray formFieldValue;
    // This many signature fields on the first page, each with a signature
    // dictionary as its value (present, not a valid signature). Like the
    // text field, they give the catalogue an AcroForm.
    int signatureFields = 0;

    static PdfFixtureSpec withPages(int count, const PdfPageSpec& page = {});
};

// The whole file: header, objects, a cross-reference table with the real
// offsets, trailer.
QByteArray pdfBytes(const PdfFixtureSpec& spec = {});
bool writePdf(const QString& path, const PdfFixtureSpec& spec = {});

// A whole file of exactly these object bodies, numbered from 1; the first
// must be the catalogue. For structures PdfFixtureSpec cannot describe.
QByteArray pdfFromObjects(const QList<QByteArray>& bodies);

// Runs qpdf with the arguments; true when it exits 0 within the time limit.
bool runQpdf(const QStringList& arguments);
// "qpdf --check" passes without warnings.
bool qpdfAccepts(const QString& path);
// AES-256 encrypted copy of input made by qpdf.
bool writeEncryptedCopy(const QString& input, const QString& output, const QString& userPassword,
                        const QString& ownerPassword);

// The same file with its startxref pointing into nowhere: readers rebuild
// the cross-reference table, and qpdf warns that the file is damaged.
QByteArray withBrokenStartXref(const QByteArray& pdf);
// qpdf's JSON (version 2) of the file; empty when qpdf fails.
QJsonObject qpdfJson(const QString& path);

// An interactive form (AcroForm) of the tests' own: every field kind, with
// flags and entries as written. Appearances of button states are plain
// boxes; text appearances are left to the reader.
struct PdfFormField {
    // "/Tx", "/Btn", "/Ch" or "/Sig".
    QByteArray type;
    QByteArray name;
    // The field flags (/Ff), e.g. 1 read-only, 4096 multiline, 8192
    // password, 32768 radio, 65536 push button, 131072 combo, 2097152
    // multi-select.
    int flags = 0;
    // Further entries of the field dictionary: "/V (a) /MaxLen 5",
    // "/Opt [(a) (b)]", "/DA (/Helv 18 Tf 0 g)".
    QByteArray entries;
    int page = 0;
    // Check boxes and radio buttons: one widget per on-state name, in this
    // order; the field's /V names the state that is on (or /Off).
    QList<QByteArray> states;
    QByteArray onState;
    // The first widget's rectangle; empty: placed in rows by the fixture.
    QRectF rect;
    // Other fields: more than 1 gives the field this many widgets, kids
    // without a name of their own.
    int widgets = 1;
    // Every widget's annotation flags (/F): 4 prints, 2 hides.
    int annotationFlags = 4;
};

struct PdfFormSpec {
    int pages = 1;
    QList<PdfFormField> fields;
    // The AcroForm also carries an /XFA stream.
    bool xfa = false;
    // The AcroForm asks readers to regenerate every appearance.
    bool needAppearances = false;
};

QByteArray formPdfBytes(const PdfFormSpec& spec);
bool writeFormPdf(const QString& path, const PdfFormSpec& spec);

} // namespace velk::test
