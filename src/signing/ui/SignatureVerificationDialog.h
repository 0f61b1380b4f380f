#pragma once

// The user's verification of an open document's signatures: asks where
// trust comes from and whether the network may be used, verifies on the
// global thread pool behind a cancellable progress dialog, and shows one
// text block per signature. Modal; GUI thread only.

#include "signing/ui/VerificationPrompts.h"

#include "document/core/PdfDocument.h"

class QWidget;

namespace velk {

void showSignatureVerification(QWidget* parent, PdfDocumentPtr document);
// The same with the questions and the result window answered by prompts.
void showSignatureVerification(QWidget* parent, PdfDocumentPtr document, const VerificationPrompts& prompts);

} // namespace velk
