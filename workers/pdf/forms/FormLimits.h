#pragma once

// Bounds of the form operations: what a form may hold before it is refused
// and what a request may ask for.

namespace velk::FormLimits {

// Widget annotations: PDFium's subtype number and the field flag bits read.
inline constexpr int kWidgetSubtype = 20;
inline constexpr int kReadOnlyFlag = 1;
inline constexpr int kMultilineFlag = 4096;
inline constexpr int kPasswordFlag = 8192;
inline constexpr int kMultiSelectFlag = 2097152;

// PDFium's field type codes.
inline constexpr int kPushButton = 1;
inline constexpr int kCheckBox = 2;
inline constexpr int kRadioButton = 3;
inline constexpr int kComboBox = 4;
inline constexpr int kListBox = 5;
inline constexpr int kTextField = 6;

inline constexpr int kMaxAnnotationsPerPage = 10000;
inline constexpr int kMaxListedFields = 1000;
inline constexpr int kMaxOptions = 256;
inline constexpr int kMaxUpdates = 512;
inline constexpr int kMaxTextUnits = 10000;

// Strings in UTF-16 bytes with the two-byte terminator.
inline constexpr unsigned long kMinStringBytes = 2;
inline constexpr unsigned long kMaxFieldStringBytes = 20002;
inline constexpr unsigned long kMaxOptionLabelBytes = 8194;

} // namespace velk::FormLimits
