#pragma once

// Bounds of generated widget appearances: how much text is laid out and
// the font sizes chosen when the form leaves the size to the box.

namespace velk::AppearanceLimits {

// The worker refuses longer values and more options before filling; the
// layout bounds itself again so that it never depends on that.
inline constexpr int kMaxDrawnUnits = 10000;
inline constexpr int kMaxOptions = 256;
inline constexpr int kMaxWrappedLines = 1000;

// Automatic sizes stay between these; a size written in the form is kept
// up to the largest.
inline constexpr double kLargestAutoSize = 12;
inline constexpr double kSmallestAutoSize = 4;
inline constexpr double kAutoSizeStep = 0.5;
inline constexpr double kLargestFontSize = 1000;

// Dash arrays longer than this are not a dash pattern anyone draws.
inline constexpr int kMaxDashEntries = 16;

} // namespace velk::AppearanceLimits
