#pragma once

// Bounds of rewriting the appearances of filled widgets with qpdf, each
// checked before the walk or read it limits.

namespace velk::AppearanceRewriteLimits {

// /Parent links followed from a widget to its field and on to the root.
inline constexpr int kMaxFieldDepth = 32;
// Widgets (kids) of one field.
inline constexpr int kMaxFieldWidgets = 1000;
// Annotations of one page, as the form-fill layer allows.
inline constexpr int kMaxPageAnnotations = 10000;
// Options of one choice field, as the form-fill layer allows.
inline constexpr int kMaxOptions = 256;
// Length of a field value, in UTF-16 code units, as the filling allows.
inline constexpr int kMaxValueUnits = 10000;
// A form that asks readers to regenerate appearances gets them for its
// other text and choice fields too: at most as many fields as a form may
// list, their widgets together, and the dictionaries met walking its field
// tree. A larger form is not rewritten.
inline constexpr int kMaxStoredFields = 1000;
inline constexpr int kMaxStoredWidgets = 10000;
inline constexpr int kMaxFieldTreeNodes = 20000;
// The page tree walked to find the annotations on pages: its nodes (the
// worker opens at most 10000 pages) and the annotations of every page.
inline constexpr int kMaxPageTreeNodes = 20000;
inline constexpr int kMaxDocumentAnnotations = 200000;
// Entries of a colour, rectangle or dash array read from a widget.
inline constexpr int kMaxSmallArray = 16;

} // namespace velk::AppearanceRewriteLimits
