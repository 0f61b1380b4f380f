#pragma once

// Bounds and fixed values of the editing operations "addText", "addNote",
// "textObjects", "replaceText", "deleteText" and "annotate". The request
// bounds keep every later loop and product small; the PDFium numbers are
// the library's own constants.

#include "worker/contract/SharedLimits.h"

namespace velk::EditLimits {

// Inserted and replacing text, in UTF-16 code units and lines.
inline constexpr int kMaxTextUnits = SharedLimits::kMaxEditTextUnits;
inline constexpr int kMaxTextLines = SharedLimits::kMaxEditTextLines;

// Font size of inserted text, in points, compared in single precision.
inline constexpr float kMinInsertFontSize = SharedLimits::kMinInsertFontSize;
inline constexpr float kMaxInsertFontSize = SharedLimits::kMaxInsertFontSize;
inline constexpr double kDefaultInsertFontSize = SharedLimits::kDefaultInsertFontSize;

// Each further line sits this many font sizes below the previous one.
inline constexpr double kLineSpacing = 1.3;

// Side of a sticky note's square, in points, unless the page is smaller.
inline constexpr float kNoteSide = 24.0f;

// Normalised positions become device points of a square this wide.
inline constexpr int kDeviceExtent = 10000;

// Page objects a page may hold before any edit or listing is refused.
inline constexpr int kMaxPageObjects = SharedLimits::kMaxPageObjects;
// Entries of a "textObjects" listing; the scan stops there.
inline constexpr int kMaxListedTextObjects = SharedLimits::kMaxListedTextObjects;
// A listed object's text in bytes with its two-byte terminator: 2 is empty,
// 20,002 is 10,000 UTF-16 units.
inline constexpr unsigned long kMinTextObjectBytes = 2;
inline constexpr unsigned long kMaxTextObjectBytes = 20002;

// A text object is replaced only with a font size and matrix in these
// bounds, so that the new lines land on the page.
inline constexpr float kMinReplaceFontSize = 0.1f;
inline constexpr float kMaxReplaceFontSize = 512.0f;
inline constexpr double kMaxMatrixValue = 1000000.0;

// Smallest width and height of a dragged shape, normalised.
inline constexpr double kMinShapeExtent = SharedLimits::kMinShapeExtent;

// PDFium's page object types.
inline constexpr int kPageObjectText = 1;
inline constexpr int kPageObjectForm = 5;

// PDFium's text render modes that replacing keeps safely.
inline constexpr int kRenderModeFill = 0;
inline constexpr int kRenderModeInvisible = 3;

// PDFium's annotation subtypes, flags and colour type.
inline constexpr int kAnnotationText = 1;
inline constexpr int kAnnotationSquare = 5;
inline constexpr int kAnnotationCircle = 6;
inline constexpr int kAnnotationHighlight = 9;
inline constexpr int kAnnotationFlagPrint = 4;
inline constexpr int kAnnotationColour = 0;

} // namespace velk::EditLimits
