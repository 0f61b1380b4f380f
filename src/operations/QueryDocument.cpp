#include "operations/QueryDocument.h"

#include "operations/OperationLimits.h"
#include "operations/OperationMessages.h"
#include "worker/runner/PdfWorkerRunner.h"

#include <QJsonObject>

namespace velk {

WorkerReply queryDocument(PdfDocumentPtr document, const QString& operation, int page, const CancelFlag& cancel)
{
    if (!document || (operation != QLatin1String("textObjects") && operation != QLatin1String("fields")))
        return WorkerReply{QJsonObject(), OperationMessages::queryInvalid()};
    const QJsonObject request{{QStringLiteral("operation"), operation},
                              {QStringLiteral("path"), document->workingPath},
                              {QStringLiteral("page"), page}};
    return runPdfWorker(request, document->password, cancel, OperationLimits::kQueryTimeLimitMs);
}

} // namespace velk
