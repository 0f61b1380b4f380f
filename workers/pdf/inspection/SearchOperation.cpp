#include "inspection/SearchOperation.h"

#include "ErrorReply.h"
#include "inspection/InspectionLimits.h"
#include "inspection/PageText.h"
#include "inspection/TextMatch.h"

#include "worker/contract/operations/SearchContract.h"

#include <algorithm>

namespace velk {

namespace {

constexpr qsizetype kSnippetLead = 30;
constexpr qsizetype kSnippetLength = 160;

} // namespace

QString SearchOperation::snippet(const QString& text, qsizetype position)
{
    return text.mid(std::max<qsizetype>(0, position - kSnippetLead), kSnippetLength);
}

void SearchOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& json)
{
    const std::optional<SearchRequest> request = SearchRequest::fromJson(json);
    if (!request) {
        reply = errorReply(QStringLiteral("Arama metni geçersiz."), 0);
        return;
    }
    const int pageCount = pdfium.api().FPDF_GetPageCount(document);
    const int start = int(std::clamp<qint64>(request->start, 0, std::max(0, pageCount - 1)));
    const TextMatch match(request->query);
    for (int i = 0; i < pageCount; ++i) {
        const int page = (start + i) % pageCount;
        // A page that cannot be loaded reads as empty and is passed over.
        const QString text = PageText::read(pdfium, document, page);
        const qsizetype position = match.indexIn(text);
        if (position >= 0) {
            reply = SearchReply{page, snippet(text, position)}.toJson();
            return;
        }
    }
    reply = SearchReply{}.toJson();
}

} // namespace velk
