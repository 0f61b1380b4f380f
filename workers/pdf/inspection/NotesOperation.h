#pragma once

// "notes": the text of every sticky note (/Text annotation) of the document,
// in page order and, within a page, in annotation order; at most 1,000.
// Called by the dispatcher on the worker's single thread; every page and
// annotation it opens is closed on every path.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class NotesOperation {
public:
    // Reply {"ok": true, "notes": [{"page": p, "text": t}, ...]}; a note
    // whose "Contents" cannot be read within the bounds is left out.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
