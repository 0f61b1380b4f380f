#pragma once

// The names the binding resolves, in resolution order, each with the member
// of PdfiumFunctions it fills. Every entry must resolve for a binding to
// succeed, so a library of another PDFium version is refused as a whole.

#include "pdfium/PdfiumFunctions.h"
#include "common/EngineLibrary.h"

#include <span>

namespace velk {

using PdfiumFunctionEntry = EngineFunction<PdfiumFunctions>;

inline constexpr int kPdfiumFunctionCount = 106;

std::span<const PdfiumFunctionEntry> pdfiumFunctionTable();

} // namespace velk
