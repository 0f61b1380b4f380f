#pragma once

// "outline": the document's outline in reading order, each entry with its
// depth, its title and the page it goes to. Walks PDFium's bookmarks with
// its own stack, never revisits a bookmark (a damaged outline may loop) and
// stops at the entry and depth limits, saying so. Called by the dispatcher
// on the worker's single thread; reads only.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class OutlineOperation {
public:
    // Request: no fields of its own. Reply {"ok": true, "outline": [{"title":
    // t, "page": p, "depth": d}, ...], "truncated": b}.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
