#pragma once

// Reads what an edit wrote, in-process, through the real PDFium binding:
// the text objects of a page with their look and place, and the page's
// extracted text. Tests only; the binding lives as long as the object.

#include "pdfium/PdfiumHandles.h"

#include <QList>
#include <QString>

namespace velk::test {

struct TextObjectFacts {
    int index = -1;
    QString text;
    float size = 0;
    FS_MATRIX matrix{};
    unsigned int red = 0;
    unsigned int green = 0;
    unsigned int blue = 0;
    unsigned int alpha = 0;
    int renderMode = -1;
    // Page-space bounds: left, bottom, right, top.
    float bounds[4] = {0, 0, 0, 0};
};

class PdfiumReadBack {
public:
    PdfiumReadBack();
    bool isBound() const { return m_pdfium.isBound(); }

    // Every top-level text object of the page, in page-object order; empty
    // when the file or the page cannot be opened.
    QList<TextObjectFacts> textObjects(const QString& path, int page) const;
    // PDFium's text of the whole page.
    QString pageText(const QString& path, int page) const;
    // Top-level objects of the page, -1 when unreadable.
    int objectCount(const QString& path, int page) const;
    // PDFium's signature count of the document, -2 when it cannot be opened.
    int signatureCount(const QString& path) const;

private:
    DocumentHandle open(const QString& path) const;
    Pdfium m_pdfium;
};

} // namespace velk::test
