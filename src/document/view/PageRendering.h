#pragma once

// One page of an open document to pixels, through the sandboxed worker.
// Runs on a pool thread (started by PdfCanvas); blocks until the worker has
// answered. Takes copies only and touches no QObject.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"
#include "worker/runner/PdfRenderResult.h"

namespace velk {

PdfRenderResult renderPage(PdfDocumentPtr document, int pageIndex, int pixelWidth, CancelFlag cancel);

} // namespace velk
