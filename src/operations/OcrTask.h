#pragma once

// Turning chosen pages of an open document into a searchable PDF: each page
// is recognised by its own worker request, the text layers are collected
// and laid over the same pages of the source, so the result keeps the
// scanned look and adds searchable text. Blocking; runs on a pool thread.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"

#include <QList>
#include <QString>

#include <functional>

namespace velk {

// Told as each page comes up, before the flag is read for it: the page's
// position (from 1) and the number of pages. Called on the task's thread.
using OcrProgress = std::function<void(int position, int count)>;

// The pages in list order (repeats allowed), 1 to 100 of them. The flag is
// read between pages, by the runner during each request and while
// publishing; the destination is written only on success.
ExportResult recognizeDocument(PdfDocumentPtr document, const QList<int>& pages, const QString& destination,
                               const CancelFlag& cancel, const OcrProgress& progress = {});

} // namespace velk
