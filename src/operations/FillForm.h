#pragma once

// The form-filling flow up to the finished request: asks the worker for
// the document's fields (with a progress dialog), tells the user when there
// is nothing to fill, and runs the form dialog. GUI thread; modal. The
// document's scripts are never run.

#include "operations/EditPrompts.h"
#include "document/core/PdfDocument.h"

#include <QJsonObject>

#include <functional>
#include <optional>

class QWidget;

namespace velk {

class FormFillDialog;

// Runs the dialog until it closes and returns its result code.
using FormDialogRunner = std::function<int(FormFillDialog& dialog)>;

// A "fillFields" request with "updates", or nothing when the query failed,
// the document has no fields or the user cancelled. Failures are shown as
// message boxes.
std::optional<QJsonObject> fillFormDialog(QWidget* parent, PdfDocumentPtr document);
std::optional<QJsonObject> fillFormDialog(QWidget* parent, PdfDocumentPtr document, const EditPrompts& prompts,
                                          const FormDialogRunner& run);

} // namespace velk
