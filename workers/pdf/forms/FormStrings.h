#pragma once

// Strings of the form-fill layer, read with PDFium's two-call pattern: size
// first, then the text. A size out of bounds, odd, or different on the
// second call reads as nothing.

#include "pdfium/Pdfium.h"

#include <QString>

#include <optional>

namespace velk::FormStrings {

// Field name, value and export value; "" when unreadable.
QString name(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation);
QString value(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation);
QString exportValue(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation);

// The text with each line break (\r\n, \r or \n) spelled \n. The form layer
// stores the breaks of a multi-line field in its own spelling, so a typed
// text and its read-back are compared in this form.
QString withUniformLineBreaks(QString text);

// An option label; nothing when unreadable (an empty label reads as "").
std::optional<QString> optionLabel(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation,
                                   int index);

} // namespace velk::FormStrings
