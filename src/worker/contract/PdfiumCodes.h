#pragma once

// PDFium's own numbers that cross the worker boundary, named once: the
// worker reports them, the client reads them by these names and never by
// their values.

namespace velk {

// The "code" of a failed reply: PDFium's last error after a document did
// not open (0 when the failure was not PDFium's).
enum class PdfOpenError : int {
    None = 0,
    Unknown = 1,
    File = 2,
    Format = 3,
    Password = 4,
    Security = 5,
    Page = 6,
};

// A form field's "type" in a "fields" listing: PDFium's field type codes.
enum class FormFieldType : int {
    Unknown = 0,
    PushButton = 1,
    CheckBox = 2,
    RadioButton = 3,
    ComboBox = 4,
    ListBox = 5,
    TextField = 6,
    Signature = 7,
};

// The field flag bits of a form field ("Ff"), as the worker reads them.
namespace FormFieldFlags {
inline constexpr int kReadOnly = 1;
inline constexpr int kMultiline = 1 << 12;
inline constexpr int kPassword = 1 << 13;
inline constexpr int kCombo = 1 << 17;
inline constexpr int kMultiSelect = 1 << 21;
inline constexpr int kComb = 1 << 24;
} // namespace FormFieldFlags

} // namespace velk
