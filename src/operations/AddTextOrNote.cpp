#include "operations/AddTextOrNote.h"

#include "operations/DocumentFiles.h"
#include "operations/OperationLimits.h"
#include "operations/OperationMessages.h"
#include "operations/TaskPipeline.h"

#include "worker/contract/operations/InsertionContract.h"

#include <QJsonObject>

namespace velk {

namespace {

ExportResult failure(const QString& message)
{
    return {false, message};
}

QJsonObject insertionRequest(const PdfDocument& document, int page, QPointF position, const QString& text, bool note,
                             double size)
{
    InsertionRequest request;
    request.note = note;
    request.path = document.workingPath;
    request.page = page;
    request.text = text;
    request.x = position.x();
    request.y = position.y();
    request.size = size;
    return request.toJson();
}

} // namespace

ExportResult addTextOrNote(PdfDocumentPtr document, int page, QPointF position, const QString& text, bool note,
                           double size, const QString& destination)
{
    if (!document || destination.isEmpty() || namesDocumentFile(*document, destination))
        return failure(OperationMessages::addKeepsSource());

    const TaskPipeline pipeline(OperationMessages::addWorkspaceFailed());
    if (const QString error = pipeline.workspaceError(); !error.isEmpty())
        return failure(error);
    const QString workName = QStringLiteral("edited.pdf");
    const QString written = pipeline.write(insertionRequest(*document, page, position, text, note, size), workName,
                                           OperationLimits::kAddTextTimeLimitMs);
    if (!written.isEmpty())
        return failure(written);
    // The written file must open in the worker and still have every page.
    if (!pipeline.inspectsWithPages(workName, document->pageCount(), OperationLimits::kVerifyTimeLimitMs))
        return failure(OperationMessages::addNotVerified());
    return pipeline.publish(workName, destination, nullptr);
}

} // namespace velk
