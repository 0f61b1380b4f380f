#include "document/view/PageRendering.h"

#include "document/view/DocumentViewLimits.h"
#include "worker/runner/PagePixels.h"
#include "worker/runner/PdfWorkerRunner.h"

#include "worker/contract/operations/RenderContract.h"

#include <QJsonObject>

namespace velk {

PdfRenderResult renderPage(PdfDocumentPtr document, int pageIndex, int pixelWidth, CancelFlag cancel)
{
    if (!document || pageIndex < 0 || pageIndex >= document->pageCount())
        return PdfRenderResult{QImage(), QStringLiteral("Sayfa geçersiz.")};

    const RenderRequest request{document->workingPath, pageIndex, pixelWidth};
    const WorkerReply reply =
        runPdfWorker(request.toJson(), document->password, cancel, DocumentViewLimits::kRenderTimeLimitMs);
    if (!reply.error.isEmpty())
        return PdfRenderResult{QImage(), reply.error};
    return decodePagePixels(reply.json);
}

} // namespace velk
