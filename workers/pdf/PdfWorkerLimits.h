#pragma once

// Bounds the PDF worker applies before any engine sees a document.

#include <QtGlobal>

namespace velk::PdfWorkerLimits {

// 512 MiB: larger files are refused before PDFium is loaded.
inline constexpr qint64 kMaxPdfFileBytes = 536870912;
inline constexpr int kMinPageCount = 1;
inline constexpr int kMaxPageCount = 10000;

} // namespace velk::PdfWorkerLimits
