#pragma once

// Reads what a page operation wrote, in-process, through the real PDFium
// binding: the page count, each page's text and its rotation. Tests only.

#include "pdfium/PdfiumHandles.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velk::test {

class PageReadBack {
public:
    PageReadBack();
    bool isBound() const { return m_pdfium.isBound(); }

    // -1 when the file cannot be opened.
    int pageCount(const QString& path) const;
    // The trimmed text of every page, in page order.
    QStringList pageTexts(const QString& path) const;
    // The /Rotate of every page in degrees, in page order.
    QList<int> rotations(const QString& path) const;

private:
    DocumentHandle open(const QString& path) const;
    Pdfium m_pdfium;
};

} // namespace velk::test
