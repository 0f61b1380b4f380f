#include "operations/TaskPipeline.h"

#include "document/core/DocumentOpen.h"
#include "operations/OutputPublication.h"
#include "worker/runner/PdfWorkerRunner.h"

#include "worker/contract/operations/InspectContract.h"

namespace velk {

TaskPipeline::TaskPipeline(QString workspaceFailure)
    : m_workspaceFailure(std::move(workspaceFailure))
{
}

QString TaskPipeline::workspaceError() const
{
    return m_workspace.isValid() ? QString() : m_workspaceFailure;
}

QString TaskPipeline::filePath(const QString& name) const
{
    return m_workspace.filePath(name);
}

QString TaskPipeline::write(QJsonObject request, const QString& outputName, int timeLimitMs,
                            const CancelFlag& cancel) const
{
    request.insert(QStringLiteral("output"), filePath(outputName));
    return runPdfWorker(request, cancel, timeLimitMs).error;
}

bool TaskPipeline::inspectsWithPages(const QString& outputName, int pageCount, int timeLimitMs) const
{
    const WorkerReply reply = runPdfWorker(InspectRequest{filePath(outputName)}.toJson(), nullptr, timeLimitMs);
    if (!reply.error.isEmpty())
        return false;
    const Decoded<InspectReply> inspected = InspectReply::fromJson(reply.json);
    return inspected.value && inspected.value->pageSizes.size() == pageCount;
}

ExportResult TaskPipeline::publish(const QString& outputName, const QString& destination,
                                   const CancelFlag& cancel) const
{
    return publishOutput(filePath(outputName), destination, cancel);
}

ExportResult TaskPipeline::publishReopened(const QString& outputName, int pageCount, const QString& notVerified,
                                           const QString& destination) const
{
    // The re-opened document and its own workspace go when this returns.
    const PdfOpenResult reopened = openPdfDocument(filePath(outputName), QString(), nullptr);
    if (!reopened.document || reopened.document->pageCount() != pageCount)
        return {false, notVerified};
    return copyWorkingCopy(reopened.document, destination);
}

} // namespace velk
