#pragma once

#include "worker/contract/SharedLimits.h"

#include <QtGlobal>

namespace velk::DocumentLimits {

inline constexpr qint64 kMaxPdfBytes = SharedLimits::kMaxPdfBytes;
inline constexpr int kMaxPages = SharedLimits::kMaxPageCount;
inline constexpr double kMaxPageSide = SharedLimits::kMaxPageSide;
inline constexpr int kInspectTimeLimitMs = 20000;

} // namespace velk::DocumentLimits
