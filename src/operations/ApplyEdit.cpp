#include "operations/ApplyEdit.h"

#include "operations/DocumentFiles.h"
#include "operations/OperationLimits.h"
#include "operations/OperationMessages.h"
#include "operations/TaskPipeline.h"

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

    const TaskPipeline pipeline(OperationMessages::editWorkspaceFailed());
    if (const QString error = pipeline.workspaceError(); !error.isEmpty())
        return failure(error);
    const QString workName = QStringLiteral("edited.pdf");
    request.insert(QStringLiteral("path"), document->workingPath);
    const QString written = pipeline.write(request, workName, OperationLimits::kEditTimeLimitMs);
    if (!written.isEmpty())
        return failure(written);
    // The bytes published are those the worker has just inspected.
    return pipeline.publishReopened(workName, document->pageCount(), OperationMessages::editNotVerified(),
                                    destination);
}

} // namespace velk
