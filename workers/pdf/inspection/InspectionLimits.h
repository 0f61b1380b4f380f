#pragma once

// Bounds of the read-only operations "inspect", "render", "search" and
// "notes". The render bounds and the runner's reply limit are chosen
// together: the largest image, Base64-encoded, still fits a reply.

namespace velk::InspectionLimits {

// A page side in PDF points is valid when finite, above 0 and at most this.
inline constexpr double kMaxPageSide = 20000.0;

inline constexpr int kDefaultRenderWidth = 1200;
inline constexpr int kMinRenderWidth = 160;
inline constexpr int kMaxRenderWidth = 4096;
inline constexpr int kMaxRenderHeight = 4096;
// 32,000,000 bytes of RGBA, 42,666,668 characters of Base64.
inline constexpr double kMaxRenderPixels = 8000000.0;
inline constexpr int kBytesPerPixel = 4;

// Query length in UTF-16 code units.
inline constexpr int kMaxQueryUnits = 512;
// A page with more characters than this is searched as if it had none.
inline constexpr int kMaxPageTextChars = 200000;

inline constexpr int kMaxNotes = 1000;
// "Contents" sizes in bytes including the two-byte terminator: 2 is an
// empty note, 20,002 a note of 10,000 UTF-16 units.
inline constexpr unsigned long kMinNoteBytes = 2;
inline constexpr unsigned long kMaxNoteBytes = 20002;

} // namespace velk::InspectionLimits
