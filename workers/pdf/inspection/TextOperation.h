#pragma once

// "text": the text inside an area of one page, as PDFium gathers the
// characters within a rectangle, for copying a selection. An area holding
// more than the selection limit, or a page whose text cannot be read, gives
// an empty text. Called by the dispatcher on the worker's single thread;
// reads only.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class TextOperation {
public:
    // Request: "page" (0-based), "area" [x, y, w, h] in points from the top
    // left of the page as displayed. Reply {"ok": true, "text": t}.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
