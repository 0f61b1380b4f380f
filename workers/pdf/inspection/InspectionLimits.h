#pragma once

// Bounds of the read-only operations "inspect", "render", "search" and
// "notes". The render bounds and the runner's reply limit are chosen
// together: the largest image, Base64-encoded, still fits a reply.

#include "worker/contract/SharedLimits.h"

namespace velk::InspectionLimits {

// A page side in PDF points is valid when finite, above 0 and at most this.
inline constexpr double kMaxPageSide = SharedLimits::kMaxPageSide;

inline constexpr int kDefaultRenderWidth = SharedLimits::kDefaultRenderWidth;
inline constexpr int kMinRenderWidth = SharedLimits::kMinRenderWidth;
inline constexpr int kMaxRenderWidth = SharedLimits::kMaxRenderWidth;
inline constexpr int kMaxRenderHeight = SharedLimits::kMaxRenderHeight;
inline constexpr double kMaxRenderPixels = double(SharedLimits::kMaxRenderPixels);
inline constexpr int kBytesPerPixel = SharedLimits::kBytesPerPixel;

// Query length in UTF-16 code units.
inline constexpr int kMaxQueryUnits = SharedLimits::kMaxQueryUnits;

// A page with more characters than this is searched as if it had none.
inline constexpr int kMaxPageTextChars = 200000;

inline constexpr int kMaxNotes = SharedLimits::kMaxNotes;
// "Contents" sizes in bytes including the two-byte terminator: 2 is an
// empty note, 20,002 a note of 10,000 UTF-16 units.
inline constexpr unsigned long kMinNoteBytes = 2;
inline constexpr unsigned long kMaxNoteBytes = 2 * (unsigned long)(SharedLimits::kMaxNoteUnits) + 2;

} // namespace velk::InspectionLimits
