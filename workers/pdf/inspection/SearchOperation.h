#pragma once

// "search": the first page, from a start page onwards and wrapping round to
// page 0, whose text contains the query with case ignored (by the default
// Unicode rules or the Turkish ones, see TextMatch), and a snippet of that
// page's text around the hit. Called by the dispatcher on the worker's
// single thread; reads only.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class SearchOperation {
public:
    // Request: "query" (1 to 512 UTF-16 units), "start" (default 0). Reply
    // {"ok": true, "page": p, "snippet": s}, or "page" -1 without a hit.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);

    // The snippet of a hit at position k: 160 units from 30 before it.
    static QString snippet(const QString& text, qsizetype position);
};

} // namespace velk
