#pragma once

// The task behind replacing or deleting a text object, adding a highlight
// or shape, and filling a form: the worker writes the edited document into
// a private workspace, the result is re-opened as a new document and must
// keep the page count, and its inspected working copy is published. Runs on
// a pool thread; blocking; not cancellable.

#include "document/core/PdfDocument.h"

#include <QJsonObject>
#include <QString>

namespace velk {

// request: a "replaceText", "deleteText", "annotate" or "fillFields"
// request without "path" and "output" (any given are replaced). Signed and
// encrypted documents are refused; the document's files are never written.
ExportResult applyEdit(PdfDocumentPtr document, QJsonObject request, const QString& destination);

} // namespace velk
