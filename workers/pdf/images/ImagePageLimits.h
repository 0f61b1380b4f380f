#pragma once

// The bounds and the page geometry of "createImages", in one place.

#include "worker/contract/SharedLimits.h"

#include <cstdint>

namespace velk::ImagePageLimits {

inline constexpr int kMaxImages = SharedLimits::kMaxImages;
inline constexpr std::int64_t kMaxFileBytes = SharedLimits::kMaxImageFileBytes;
inline constexpr std::int64_t kMaxPixels = 20000000;
// Megabytes the image reader may allocate for one decoded image.
inline constexpr int kReaderAllocationMegabytes = 128;

// A4 portrait in points, and the area left inside 16 mm margins.
inline constexpr double kPageWidth = 595.28;
inline constexpr double kPageHeight = 841.89;
inline constexpr double kPrintableWidth = 504.57133858267713;
inline constexpr double kPrintableHeight = 751.1813385826772;

} // namespace velk::ImagePageLimits
