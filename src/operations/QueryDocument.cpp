#include "operations/QueryDocument.h"

#include "operations/OperationLimits.h"
#include "operations/OperationMessages.h"
#include "worker/runner/PdfWorkerRunner.h"

#include "worker/contract/operations/FormsContract.h"
#include "worker/contract/operations/TextObjectsContract.h"

#include <QJsonObject>

namespace velk {

WorkerReply queryDocument(PdfDocumentPtr document, const QString& operation, int page, const CancelFlag& cancel)
{
    if (!document || (operation != QLatin1String("textObjects") && operation != QLatin1String("fields")))
        return WorkerReply{QJsonObject(), OperationMessages::queryInvalid()};
    const QJsonObject request = operation == QLatin1String("fields")
                                    ? FieldsRequest{document->workingPath}.toJson()
                                    : TextObjectsRequest{document->workingPath, page}.toJson();
    return runPdfWorker(request, document->password, cancel, OperationLimits::kQueryTimeLimitMs);
}

} // namespace velk
