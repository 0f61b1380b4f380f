#pragma once

// Strings of the form-fill layer, read with PDFium's two-call pattern: size
// first, then the text. A size out of bounds, odd, or different on the
// second call reads as nothing.

#include "Pdfium.h"

#include <QString>

#include <optional>

namespace velk::FormStrings {

// Field name, value and export value; "" when unreadable.
QString name(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation);
QString value(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation);
QString exportValue(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation);

// An option label; nothing when unreadable (an empty label reads as "").
std::optional<QString> optionLabel(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation,
                                   int index);

} // namespace velk::FormStrings
