#pragma once

// The names the binding resolves, in resolution order, each with the member
// of PdfiumFunctions it fills. Every entry must resolve for a binding to
// succeed, so a library of another PDFium version is refused as a whole.

#include "PdfiumFunctions.h"

#include <QtGlobal>

#include <span>

namespace velk {

struct PdfiumFunctionEntry {
    const char* name;
    void (*assign)(PdfiumFunctions& functions, QFunctionPointer address);
};

inline constexpr int kPdfiumFunctionCount = 88;

std::span<const PdfiumFunctionEntry> pdfiumFunctionTable();

} // namespace velk
