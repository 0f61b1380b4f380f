#pragma once

// Small, valid PDF files written by the tests themselves: any number of
// pages of any size, one line of text in a standard font per page, an
// optional /Rotate, and optionally one text field that makes the document
// a form. Encrypted copies and structural checks come from the real qpdf
// program, an independent judge of what the project writes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velk::test {

struct PdfPageSpec {
    double width = 595;
    double height = 842;
    // 0, 90, 180 or 270; 0 writes no /Rotate.
    int rotate = 0;
    // Latin-1 text shown in Helvetica near the top left; empty for none.
    QByteArray text = "Velk PDF";
};

struct PdfFixtureSpec {
    QList<PdfPageSpec> pages = {PdfPageSpec{}};
    // Non-empty: a text field of this name sits on the first page and the
    // catalogue carries an AcroForm.
    QByteArray formFieldName;
    QByteArray formFieldValue;

    static PdfFixtureSpec withPages(int count, const PdfPageSpec& page = {});
};

// The whole file: header, objects, a cross-reference table with the real
// offsets, trailer.
QByteArray pdfBytes(const PdfFixtureSpec& spec = {});
bool writePdf(const QString& path, const PdfFixtureSpec& spec = {});

// Runs qpdf with the arguments; true when it exits 0 within the time limit.
bool runQpdf(const QStringList& arguments);
// "qpdf --check" passes without warnings.
bool qpdfAccepts(const QString& path);
// AES-256 encrypted copy of input made by qpdf.
bool writeEncryptedCopy(const QString& input, const QString& output, const QString& userPassword,
                        const QString& ownerPassword);

} // namespace velk::test
