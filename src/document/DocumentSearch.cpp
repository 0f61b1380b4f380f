#include "DocumentSearch.h"

#include "DocumentViewLimits.h"
#include "PdfWorkerRunner.h"
#include "RunnerMessages.h"

#include <QJsonValue>

namespace velk {

namespace {

PdfSearchResult searchFailure(const QString& error)
{
    PdfSearchResult result;
    result.error = error;
    return result;
}

// -1 or an index of the document; range first, since converting an
// out-of-range double to int is undefined.
bool readPage(const QJsonValue& value, int pageCount, int& page)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (!(number >= -1 && number < pageCount))
        return false;
    page = int(number);
    return double(page) == number;
}

} // namespace

PdfSearchResult searchDocument(PdfDocumentPtr document, QString query, int startPage, CancelFlag cancel)
{
    if (!document)
        return searchFailure(QStringLiteral("Belge açık değil."));
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("search")},
                              {QStringLiteral("path"), document->workingPath},
                              {QStringLiteral("password"), document->password},
                              {QStringLiteral("query"), query},
                              {QStringLiteral("start"), startPage}};
    const WorkerReply reply = runPdfWorker(request, cancel, DocumentViewLimits::kSearchTimeLimitMs);
    if (!reply.error.isEmpty())
        return searchFailure(reply.error);
    return searchResultFromReply(reply.json, document->pageCount());
}

PdfSearchResult searchResultFromReply(const QJsonObject& reply, int pageCount)
{
    const QJsonValue page = reply.value(QStringLiteral("page"));
    PdfSearchResult result;
    // A page the document does not have would send the view nowhere and
    // start the next search from a wrong place.
    if (!page.isUndefined() && !readPage(page, pageCount, result.page))
        return searchFailure(RunnerMessages::replyInvalid());
    if (result.page >= 0)
        result.snippet = reply.value(QStringLiteral("snippet")).toString().left(DocumentViewLimits::kMaxSnippetLength);
    return result;
}

} // namespace velk
