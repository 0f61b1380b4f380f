#pragma once

// Read-only questions about an open document that the editing dialogs ask
// the worker: the text objects of a page, or the form fields. Runs on a
// pool thread; blocking.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"
#include "worker/runner/WorkerReply.h"

#include <QString>

namespace velk {

// operation: "textObjects" or "fields"; anything else, or no document, is
// answered without running the worker. The reply is returned unchanged.
WorkerReply queryDocument(PdfDocumentPtr document, const QString& operation, int page, const CancelFlag& cancel);

} // namespace velk
