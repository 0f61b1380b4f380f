#pragma once

// Bounds the PDF worker applies before any engine sees a document.

#include "worker/contract/SharedLimits.h"

#include <QtGlobal>

namespace velk::PdfWorkerLimits {

// Larger files are refused before PDFium is loaded.
inline constexpr qint64 kMaxPdfFileBytes = SharedLimits::kMaxPdfBytes;
inline constexpr int kMinPageCount = SharedLimits::kMinPageCount;
inline constexpr int kMaxPageCount = SharedLimits::kMaxPageCount;

} // namespace velk::PdfWorkerLimits
