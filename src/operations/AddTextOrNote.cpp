#include "AddTextOrNote.h"

#include "DocumentFiles.h"
#include "OperationLimits.h"
#include "OperationMessages.h"
#include "OutputPublication.h"
#include "PdfWorkerRunner.h"
#include "TaskWorkspace.h"

#include <QJsonArray>
#include <QJsonObject>

namespace velk {

namespace {

ExportResult failure(const QString& message)
{
    return {false, message};
}

QJsonObject insertionRequest(const PdfDocument& document, int page, QPointF position, const QString& text, bool note,
                             double size, const QString& output)
{
    return QJsonObject{
        {QStringLiteral("operation"), note ? QStringLiteral("addNote") : QStringLiteral("addText")},
        {QStringLiteral("path"), document.workingPath},
        {QStringLiteral("page"), page},
        {QStringLiteral("text"), text},
        {QStringLiteral("x"), position.x()},
        {QStringLiteral("y"), position.y()},
        {QStringLiteral("size"), size},
        {QStringLiteral("output"), output},
    };
}

// The written file must open in the worker and still have every page.
bool keepsPageCount(const QString& workFile, int pageCount)
{
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("inspect")},
                              {QStringLiteral("path"), workFile}};
    const WorkerReply reply = runPdfWorker(request, nullptr, OperationLimits::kVerifyTimeLimitMs);
    if (!reply.error.isEmpty())
        return false;
    const QJsonValue pages = reply.json.value(QStringLiteral("pages"));
    return pages.isArray() && pages.toArray().size() == pageCount;
}

} // namespace

ExportResult addTextOrNote(PdfDocumentPtr document, int page, QPointF position, const QString& text, bool note,
                           double size, const QString& destination)
{
    if (!document || destination.isEmpty() || namesDocumentFile(*document, destination))
        return failure(OperationMessages::addKeepsSource());

    const TaskWorkspace workspace;
    if (!workspace.isValid())
        return failure(OperationMessages::addWorkspaceFailed());
    const QString workFile = workspace.filePath(QStringLiteral("edited.pdf"));

    const WorkerReply written = runPdfWorker(insertionRequest(*document, page, position, text, note, size, workFile),
                                             nullptr, OperationLimits::kAddTextTimeLimitMs);
    if (!written.error.isEmpty())
        return failure(written.error);
    if (!keepsPageCount(workFile, document->pageCount()))
        return failure(OperationMessages::addNotVerified());
    return publishOutput(workFile, destination, nullptr);
}

} // namespace velk
