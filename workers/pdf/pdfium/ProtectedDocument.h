#pragma once

// Whether a document must not be modified by content edits: it is signed,
// encrypted or carries a form. A signature count that cannot be read counts
// as signed, so a failure never unlocks an edit.

#include "Pdfium.h"

namespace velk {

bool isProtectedDocument(const Pdfium& pdfium, FPDF_DOCUMENT document);

} // namespace velk
