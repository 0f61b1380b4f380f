#pragma once

// Opening a document: the user's file is read once, into a private working
// copy that the sandboxed worker inspects; nothing else ever touches the
// user's file again. Both operations block and run on pool threads.

#include "document/core/PdfDocument.h"

#include <atomic>
#include <memory>

namespace velk {

// A null cancellation flag counts as never set. The document keeps the
// password (never null; empty for none).
PdfOpenResult openPdfDocument(const QString& path, SecretBytesPtr password, std::shared_ptr<std::atomic<bool>> cancel);
// The same with the worker of the given application directory (empty:
// beside the running program), for developer tools built apart from it.
PdfOpenResult openPdfDocument(const QString& path, SecretBytesPtr password, std::shared_ptr<std::atomic<bool>> cancel,
                              const QString& applicationDirectory);
// The same for a password given as text (the caller wipes its own text).
PdfOpenResult openPdfDocument(const QString& path, const QString& password,
                              std::shared_ptr<std::atomic<bool>> cancel);

// Writes the working copy atomically to a new destination ("Farklı kaydet").
ExportResult copyWorkingCopy(PdfDocumentPtr document, const QString& output);

} // namespace velk
