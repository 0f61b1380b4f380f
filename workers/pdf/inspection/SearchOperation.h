#pragma once

// "search": the next hit of a query, from a hit of a start page onwards (or
// backwards) and wrapping round, in text compared with case ignored (by the
// default Unicode rules or the Turkish ones, see TextMatch): its page, its
// ordinal on the page, a snippet of the page's text around it and the
// rectangles of its characters. Called by the dispatcher on the worker's
// single thread; reads only.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class SearchOperation {
public:
    // Request: "query" (1 to 512 UTF-16 units), "start" (default 0), "first"
    // and "backward" (SearchRequest). Reply {"ok": true, "page": p,
    // "snippet": s, "hit": n, "wrapped": w, "rects": [...]}, or "page" -1
    // without a hit.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);

    // The snippet of a hit at position k: 160 units from 30 before it.
    static QString snippet(const QString& text, qsizetype position);
};

} // namespace velk
