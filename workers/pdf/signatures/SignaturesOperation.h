#pragma once

// "signatures": the raw values of every signed signature of the open
// document, for verification. The list comes from a qpdf walk of the whole
// field tree (so signatures in nested fields count); PDFium's own
// signatures are a cross-check, and its unsigned fields are accepted only
// as far as the permission analysis counts them. Writes no file; any
// failure answers one sentence and no partial list.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

namespace velk {

class SignaturesOperation {
public:
    static void run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request);
};

} // namespace velk
