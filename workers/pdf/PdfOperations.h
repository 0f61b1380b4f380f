#pragma once

// The PDF worker's operation vocabulary, in the order the dispatcher tests
// the names. An operation is implemented by setting its handler in
// PdfOperations.cpp; a name whose handler is still null is answered as an
// unrecognised operation.

#include "pdfium/Pdfium.h"

#include <QJsonObject>

#include <span>

namespace velk {

// Operations that open whatever files they need themselves.
using DocumentFreeHandler = void (*)(QJsonObject& reply, const QJsonObject& request);

// Operations on the document the dispatcher opened: 1 to 10,000 pages,
// already validated. A handler never closes the document.
using PdfiumHandler = void (*)(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                               const QJsonObject& request);

struct DocumentFreeOperation {
    const char* name;
    DocumentFreeHandler handler;
};

struct PdfiumOperation {
    const char* name;
    PdfiumHandler handler;
};

std::span<const DocumentFreeOperation> documentFreeOperations();
std::span<const PdfiumOperation> pdfiumOperations();

} // namespace velk
