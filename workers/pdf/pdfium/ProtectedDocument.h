#pragma once

// The worker's one reading of a document's protection: signed, encrypted,
// has a form. "inspect" reports it, and every operation that changes a
// document asks it. A signature that cannot be read counts as signed, so a
// failure never unlocks an edit.

#include "pdfium/Pdfium.h"

#include "worker/contract/operations/DocumentProtection.h"

namespace velk {

// Signature fields that hold signature contents; -1 when the signatures
// cannot be read. PDFium also counts the empty signature fields a form
// offers for signing later; those do not sign the document.
int signedFieldCount(const Pdfium& pdfium, FPDF_DOCUMENT document);

// Everything protected when PDFium is not bound.
DocumentProtection readProtection(const Pdfium& pdfium, FPDF_DOCUMENT document);

// Whether a document must not be modified by content edits.
bool isProtectedDocument(const Pdfium& pdfium, FPDF_DOCUMENT document);

} // namespace velk
