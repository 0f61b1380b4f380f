#pragma once

// Limits and fixed measures of the page view and the document tab. The
// layout measures are logical pixels; the time limits are what the worker
// runner is given for each request.

#include "worker/contract/SharedLimits.h"

namespace velk::DocumentViewLimits {

// Layout.
inline constexpr double kPageMargin = 24.0;
inline constexpr double kPageGap = 20.0;
inline constexpr double kMinAvailableWidth = 100.0;
inline constexpr double kPointsToPixels = 96.0 / 72.0;
// Scroll range slack below the last page.
inline constexpr int kBottomSlack = 4;
// Goes to a page leaving this much of the margin above it in view.
inline constexpr int kScrollTopMargin = 24;

// Requested render widths, in device pixels: the worker's own bounds.
inline constexpr int kMinRenderWidth = SharedLimits::kMinRenderWidth;
inline constexpr int kMaxRenderWidth = SharedLimits::kMaxRenderWidth;

// About 64 MiB of rendered pages, counted in whole KiB.
inline constexpr int kPageCacheMaxCost = 65536;
// About 16 MiB of page thumbnails, counted the same way.
inline constexpr int kThumbnailCacheMaxCost = 16384;
// Thumbnails: logical width of the picture in the side bar; the worker is
// asked for this at the screen's density, within its own bounds.
inline constexpr int kThumbnailWidth = 120;

// Worker time limits.
inline constexpr int kRenderTimeLimitMs = 20000;
inline constexpr int kSearchTimeLimitMs = 30000;
inline constexpr int kNotesTimeLimitMs = 20000;
inline constexpr int kLinksTimeLimitMs = 20000;
inline constexpr int kOutlineTimeLimitMs = 20000;
inline constexpr int kTextTimeLimitMs = 20000;

// Replies the tab reads: the worker never sends more than these.
inline constexpr int kMaxSnippetLength = SharedLimits::kMaxSnippetUnits;
inline constexpr int kMaxNotes = SharedLimits::kMaxNotes;
inline constexpr int kMaxNoteLength = SharedLimits::kMaxNoteUnits;

// Placement.
inline constexpr int kMaxInsertedTextLength = 10000;
inline constexpr double kDefaultTextSize = 14.0;
inline constexpr double kMinTextSize = 6.0;
inline constexpr double kMaxTextSize = 120.0;
// Page-relative; smaller areas are taken for an accidental double click.
inline constexpr double kMinAreaSide = 0.002;

// Password prompts per tab.
inline constexpr int kMaxPasswordAttempts = 3;

} // namespace velk::DocumentViewLimits
