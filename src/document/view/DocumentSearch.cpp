#include "document/view/DocumentSearch.h"

#include "document/view/DocumentViewLimits.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "worker/runner/RunnerMessages.h"

#include "worker/contract/operations/SearchContract.h"

namespace velk {

namespace {

PdfSearchResult searchFailure(const QString& error)
{
    PdfSearchResult result;
    result.error = error;
    return result;
}

} // namespace

PdfSearchResult searchDocument(PdfDocumentPtr document, QString query, int startPage, CancelFlag cancel)
{
    return searchFrom(std::move(document), std::move(query), SearchStart{startPage, std::nullopt, false},
                      std::move(cancel));
}

PdfSearchResult searchFrom(PdfDocumentPtr document, QString query, SearchStart start, CancelFlag cancel)
{
    if (!document)
        return searchFailure(QStringLiteral("Belge açık değil."));
    SearchRequest request;
    request.path = document->workingPath;
    request.query = query;
    request.start = start.page;
    request.first = start.hit;
    request.backward = start.backward;
    const WorkerReply reply =
        runPdfWorker(request.toJson(), document->password, cancel, DocumentViewLimits::kSearchTimeLimitMs);
    if (!reply.error.isEmpty())
        return searchFailure(reply.error);
    return searchResultFromReply(reply.json, document->pageCount());
}

PdfSearchResult searchResultFromReply(const QJsonObject& reply, int pageCount)
{
    const std::optional<SearchReply> read = SearchReply::fromJson(reply, pageCount);
    if (!read)
        return searchFailure(RunnerMessages::replyInvalid());
    PdfSearchResult result;
    result.page = read->page;
    result.snippet = read->snippet;
    result.hit = read->hit;
    result.wrapped = read->wrapped;
    result.rects = read->rects;
    return result;
}

} // namespace velk
