#pragma once

// Bounds of the form operations: what a form may hold before it is refused
// and what a request may ask for.

#include "worker/contract/PdfiumCodes.h"
#include "worker/contract/SharedLimits.h"

namespace velk::FormLimits {

// Widget annotations: PDFium's subtype number and the field flag bits read.
inline constexpr int kWidgetSubtype = 20;
inline constexpr int kReadOnlyFlag = FormFieldFlags::kReadOnly;
inline constexpr int kMultilineFlag = FormFieldFlags::kMultiline;
inline constexpr int kPasswordFlag = FormFieldFlags::kPassword;
inline constexpr int kMultiSelectFlag = FormFieldFlags::kMultiSelect;

// PDFium's field type codes, as the "fields" listing reports them.
inline constexpr int kPushButton = int(FormFieldType::PushButton);
inline constexpr int kCheckBox = int(FormFieldType::CheckBox);
inline constexpr int kRadioButton = int(FormFieldType::RadioButton);
inline constexpr int kComboBox = int(FormFieldType::ComboBox);
inline constexpr int kListBox = int(FormFieldType::ListBox);
inline constexpr int kTextField = int(FormFieldType::TextField);

inline constexpr int kMaxAnnotationsPerPage = SharedLimits::kMaxAnnotationsPerPage;
inline constexpr int kMaxListedFields = SharedLimits::kMaxListedFields;
inline constexpr int kMaxOptions = SharedLimits::kMaxFieldOptions;
inline constexpr int kMaxTextUnits = SharedLimits::kMaxFieldTextUnits;

// Strings in UTF-16 bytes with the two-byte terminator.
inline constexpr unsigned long kMinStringBytes = 2;
inline constexpr unsigned long kMaxFieldStringBytes = 20002;
inline constexpr unsigned long kMaxOptionLabelBytes = 8194;

} // namespace velk::FormLimits
