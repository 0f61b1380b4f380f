#include "PageRendering.h"

#include "DocumentViewLimits.h"
#include "PagePixels.h"
#include "PdfWorkerRunner.h"

#include <QJsonObject>

namespace velk {

PdfRenderResult renderPage(PdfDocumentPtr document, int pageIndex, int pixelWidth, CancelFlag cancel)
{
    if (!document || pageIndex < 0 || pageIndex >= document->pageCount())
        return PdfRenderResult{QImage(), QStringLiteral("Sayfa geçersiz.")};

    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("render")},
                              {QStringLiteral("path"), document->workingPath},
                              {QStringLiteral("password"), document->password},
                              {QStringLiteral("page"), pageIndex},
                              {QStringLiteral("width"), pixelWidth}};
    const WorkerReply reply = runPdfWorker(request, cancel, DocumentViewLimits::kRenderTimeLimitMs);
    if (!reply.error.isEmpty())
        return PdfRenderResult{QImage(), reply.error};
    return decodePagePixels(reply.json);
}

} // namespace velk
