#pragma once

// The two tasks that rebuild pages into a new PDF: organising the open
// document and merging PDF files. Both run the worker's "pages" operation
// in a private workspace and publish the result atomically. They block and
// run on pool threads; they touch no QObject.

#include "operations/OrganizeLayout.h"
#include "document/core/PdfDocument.h"

#include <QString>
#include <QStringList>

namespace velk {

// The document's pages in the layout's order, each with its extra
// rotation, written to the destination.
ExportResult organizeDocument(PdfDocumentPtr document, const organize::PageLayout& layout,
                              const QString& destination);

// 2 to 100 files, each read through its own private working copy, merged
// whole in the given order.
ExportResult mergePdfFiles(const QStringList& paths, const QString& destination);

} // namespace velk
