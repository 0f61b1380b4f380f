#pragma once

// The replace-or-delete flow up to the finished request: asks the worker
// for the page's text objects (with a progress dialog), tells the user when
// there is nothing to edit, and runs the text-object dialog. GUI thread;
// modal.

#include "operations/EditPrompts.h"
#include "document/core/PdfDocument.h"

#include <QJsonObject>

#include <optional>

class QWidget;

namespace velk {

// page is 0-based. A "replaceText" or "deleteText" request with "page",
// "object" and "text", or nothing when the query failed, the page has no
// text objects or the user cancelled. Failures are shown as message boxes.
std::optional<QJsonObject> editTextObjectDialog(QWidget* parent, PdfDocumentPtr document, int page);
std::optional<QJsonObject> editTextObjectDialog(QWidget* parent, PdfDocumentPtr document, int page,
                                                const EditPrompts& prompts);

} // namespace velk
