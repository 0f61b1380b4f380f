#include "document/view/DocumentReading.h"

#include "document/view/DocumentViewLimits.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "worker/runner/RunnerMessages.h"

namespace velk {

PageLinksResult listPageLinks(PdfDocumentPtr document, int page, CancelFlag cancel)
{
    PageLinksResult result;
    result.page = page;
    if (!document || page < 0 || page >= document->pageCount()) {
        result.error = QStringLiteral("Sayfa geçersiz.");
        return result;
    }
    const LinksRequest request{document->workingPath, page};
    const WorkerReply reply =
        runPdfWorker(request.toJson(), document->password, cancel, DocumentViewLimits::kLinksTimeLimitMs);
    if (!reply.error.isEmpty()) {
        result.error = reply.error;
        return result;
    }
    const std::optional<LinksReply> read = LinksReply::fromJson(reply.json, document->pageCount());
    if (!read)
        result.error = RunnerMessages::replyInvalid();
    else
        result.links = read->links;
    return result;
}

OutlineResult readOutline(PdfDocumentPtr document, CancelFlag cancel)
{
    OutlineResult result;
    if (!document) {
        result.error = QStringLiteral("Belge açık değil.");
        return result;
    }
    const OutlineRequest request{document->workingPath};
    const WorkerReply reply =
        runPdfWorker(request.toJson(), document->password, cancel, DocumentViewLimits::kOutlineTimeLimitMs);
    if (!reply.error.isEmpty()) {
        result.error = reply.error;
        return result;
    }
    const std::optional<OutlineReply> read = OutlineReply::fromJson(reply.json, document->pageCount());
    if (!read) {
        result.error = RunnerMessages::replyInvalid();
        return result;
    }
    result.entries = read->entries;
    result.truncated = read->truncated;
    return result;
}

SelectionTextResult selectionText(PdfDocumentPtr document, int page, QRectF area, CancelFlag cancel)
{
    SelectionTextResult result;
    if (!document || page < 0 || page >= document->pageCount()) {
        result.error = QStringLiteral("Sayfa geçersiz.");
        return result;
    }
    const TextRequest request{document->workingPath, page, area};
    const WorkerReply reply =
        runPdfWorker(request.toJson(), document->password, cancel, DocumentViewLimits::kTextTimeLimitMs);
    if (!reply.error.isEmpty()) {
        result.error = reply.error;
        return result;
    }
    const std::optional<TextReply> read = TextReply::fromJson(reply.json);
    if (!read)
        result.error = RunnerMessages::replyInvalid();
    else
        result.text = read->text;
    return result;
}

} // namespace velk
