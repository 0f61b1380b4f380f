#pragma once

// "annotate": a highlight, rectangle or ellipse annotation over the area
// the user dragged on the displayed page, and the whole document saved to
// a new file. Called by the dispatcher on the worker's single thread.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class AnnotateOperation {
public:
    // Reply {"ok": true} or {"ok": false, "error": sentence}.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
