#include "ApplyEdit.h"

#include "DocumentFiles.h"
#include "DocumentOpen.h"
#include "OperationLimits.h"
#include "OperationMessages.h"
#include "PdfWorkerRunner.h"
#include "TaskWorkspace.h"

namespace velk {

namespace {

ExportResult failure(const QString& message)
{
    return {false, message};
}

// Exact and case-sensitive.
bool isEditOperation(const QJsonValue& operation)
{
    static const QStringList kOperations{QStringLiteral("replaceText"), QStringLiteral("deleteText"),
                                         QStringLiteral("annotate"), QStringLiteral("fillFields")};
    return operation.isString() && kOperations.contains(operation.toString());
}

// As "inspect" decided: an empty signature field a form offers for signing
// later does not stop the form from being filled.
bool isEditable(const PdfDocumentPtr& document)
{
    return document && document->protection.allowsFormFill();
}

} // namespace

ExportResult applyEdit(PdfDocumentPtr document, QJsonObject request, const QString& destination)
{
    if (!isEditable(document) || destination.isEmpty()
        || !isEditOperation(request.value(QStringLiteral("operation"))))
        return failure(OperationMessages::editInvalid());
    if (namesDocumentFile(*document, destination))
        return failure(OperationMessages::editKeepsSource());

    const TaskWorkspace workspace;
    if (!workspace.isValid())
        return failure(OperationMessages::editWorkspaceFailed());
    const QString workFile = workspace.filePath(QStringLiteral("edited.pdf"));

    request.insert(QStringLiteral("path"), document->workingPath);
    request.insert(QStringLiteral("output"), workFile);
    const WorkerReply written = runPdfWorker(request, nullptr, OperationLimits::kEditTimeLimitMs);
    if (!written.error.isEmpty())
        return failure(written.error);

    // The bytes published are those the worker has just inspected; the
    // re-opened document and its own workspace go when this returns.
    const PdfOpenResult reopened = openPdfDocument(workFile, QString(), nullptr);
    if (!reopened.document || reopened.document->pageCount() != document->pageCount())
        return failure(OperationMessages::editNotVerified());
    return copyWorkingCopy(reopened.document, destination);
}

} // namespace velk
