#pragma once

// Where a run of a page's characters sits on the page as displayed: one
// rectangle per line the run spans, as PDFium groups them, at most the hit
// rectangle limit. For "search". Worker's single thread; opens and closes
// the page inside the call.

#include "pdfium/Pdfium.h"

#include <QList>
#include <QRectF>

namespace velk {

class TextRects {
public:
    // start and length: UTF-16 positions in the page's text as PageText
    // reads it; PDFium maps its text positions to its characters. Nothing
    // when the run cannot be mapped.
    static QList<QRectF> forRun(const Pdfium& pdfium, FPDF_DOCUMENT document, int pageIndex, const QString& text,
                                qsizetype start, qsizetype length);
};

} // namespace velk
