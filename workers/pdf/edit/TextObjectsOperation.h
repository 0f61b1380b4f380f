#pragma once

// "textObjects": the text objects lying directly on one page, in page-object
// order, so that the user can pick one to replace or delete; at most 2,000,
// and a count of the form XObjects met on the way, whose text is not
// listed. Read-only, so allowed on every document. Called by the
// dispatcher on the worker's single thread.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class TextObjectsOperation {
public:
    // Reply {"ok": true, "objects": [{"object", "text", "size"}...],
    // "nestedForms": n} or {"ok": false, "error": sentence}.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
