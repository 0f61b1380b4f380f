#pragma once

// "inspect": the page sizes and document flags velk-pdf needs to open a
// document. Called by the dispatcher on the worker's single thread with the
// document it opened; reads only, closes nothing it did not open.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class InspectOperation {
public:
    // {"ok": true, "pages": [[w, h], ...], "signatures", "encrypted",
    // "permissions"}, or "PDF sayfa ölçüleri geçersiz." with code 0.
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
