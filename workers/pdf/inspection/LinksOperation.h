#pragma once

// "links": the links of one page, for the page view: where each sits on the
// page as displayed and whether it goes to a page of the document or to a
// URI. Links PDFium cannot place, with a destination outside the document,
// or with a URI that is not offered are left out, so damaged link data
// gives fewer links, never a failure. Called by the dispatcher on the
// worker's single thread; reads only.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class LinksOperation {
public:
    // Request: "page" (0-based). Reply {"ok": true, "links": [{"rect": [x,
    // y, w, h], "page": p} or {"rect": ..., "uri": u}, ...]}, at most 1,000.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
