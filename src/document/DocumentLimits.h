#pragma once

#include <QtGlobal>

namespace velk::DocumentLimits {

inline constexpr qint64 kMaxPdfBytes = 536870912; // 512 MiB
inline constexpr qint64 kCopyChunkBytes = 1048576;
inline constexpr int kMaxPages = 10000;
inline constexpr double kMaxPageSide = 20000.0;
inline constexpr int kInspectTimeLimitMs = 20000;

} // namespace velk::DocumentLimits
