#pragma once

// A document query with a modal progress dialog: the editing dialogs call
// this to learn a page's text objects or the form's fields while the user
// sees that something is happening and may cancel it. GUI thread; the query
// itself runs on the global thread pool.

#include "document/core/PdfDocument.h"
#include "worker/runner/WorkerReply.h"

#include <QString>

class QWidget;

namespace velk {

// Blocks in a local event loop behind a window-modal progress dialog until
// the query has ended, also after "İptal" (the run is stopped through its
// own flag, never abandoned). A cancelled query answers "İşlem iptal
// edildi." even when the worker had already answered.
WorkerReply query(QWidget* parent, PdfDocumentPtr document, const QString& operation, int page);

} // namespace velk
