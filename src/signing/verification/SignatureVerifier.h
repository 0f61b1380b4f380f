#pragma once

// Verification of every signature and document time stamp of an open
// document. It never trusts the worker's view of the file: it re-reads the
// working copy, checks each byte range and /Contents against those bytes,
// verifies each CMS signature or time-stamp token with OpenSSL, validates
// chains and revocation (online only when the options allow), judges every
// later revision against the signature's permissions, and finally the chain
// of document time stamps that protects older signatures.
//
// Serves the verification window and the signing pipeline's checks before
// and after signing. Blocking; runs on a pool thread and shares only the
// document (read-only) and the cancellation flag.

#include "signing/verification/SignatureReports.h"
#include "signing/verification/VerificationOptions.h"

#include "document/core/PdfDocument.h"
#include "worker/runner/CancelFlag.h"

#include <QString>

namespace velk {

// trustPath: a PEM file of trust anchors, or empty for the system's.
SignatureReports verifySignatures(PdfDocumentPtr document, const QString& trustPath, CancelFlag cancel,
                                  const VerificationOptions& options);

} // namespace velk
