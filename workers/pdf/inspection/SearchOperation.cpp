#include "inspection/SearchOperation.h"

#include "ErrorReply.h"
#include "inspection/InspectionLimits.h"
#include "inspection/PageText.h"
#include "inspection/TextMatch.h"
#include "inspection/TextRects.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/SearchContract.h"

#include <algorithm>

namespace velk {

namespace {

constexpr qsizetype kSnippetLead = 30;
constexpr qsizetype kSnippetLength = 160;

struct Walk {
    int start = 0;
    int pageCount = 0;
    // The ordinal bound on the start page: forwards the first hit taken
    // there, backwards the last; -1 backwards takes none there.
    int first = 0;
    bool backward = false;
};

// Step 0 .. pageCount of the walk: which of a page's hits it takes, -1 for
// none. The start page is visited first with the hits from the bound on,
// and last, after wrapping round, with the others.
int chosenHit(const Walk& walk, int step, qsizetype hitCount)
{
    if (hitCount == 0)
        return -1;
    const int last = int(hitCount) - 1;
    if (!walk.backward) {
        const int first = std::max(walk.first, 0);
        if (step == 0)
            return first <= last ? first : -1;
        if (step == walk.pageCount)
            return first > 0 ? 0 : -1;
        return 0;
    }
    if (step == 0)
        return walk.first >= 0 ? std::min(walk.first, last) : -1;
    if (step == walk.pageCount)
        return walk.first < last ? last : -1;
    return last;
}

int pageAt(const Walk& walk, int step)
{
    const int offset = step % walk.pageCount;
    return walk.backward ? (walk.start - offset + walk.pageCount) % walk.pageCount
                         : (walk.start + offset) % walk.pageCount;
}

bool wrappedAt(const Walk& walk, int step, int page)
{
    if (step == walk.pageCount)
        return true;
    return walk.backward ? page > walk.start : page < walk.start;
}

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
    Walk walk;
    walk.pageCount = pdfium.api().FPDF_GetPageCount(document);
    walk.start = int(std::clamp<qint64>(request->start, 0, std::max(0, walk.pageCount - 1)));
    walk.first = request->first.value_or(request->backward ? SharedLimits::kMaxHitsPerPage : 0);
    walk.backward = request->backward;
    const TextMatch match(request->query);
    // The start page is looked at twice: once on the way out, once on the
    // way back after wrapping round.
    for (int step = 0; walk.pageCount > 0 && step <= walk.pageCount; ++step) {
        const int page = pageAt(walk, step);
        // A page that cannot be loaded reads as empty and is passed over.
        const QString text = PageText::read(pdfium, document, page);
        const QList<qsizetype> hits = match.positionsIn(text, SharedLimits::kMaxHitsPerPage);
        const int hit = chosenHit(walk, step, hits.size());
        if (hit < 0)
            continue;
        const qsizetype position = hits.at(hit);
        SearchReply found;
        found.page = page;
        found.snippet = snippet(text, position);
        found.hit = hit;
        found.wrapped = wrappedAt(walk, step, page);
        found.rects = TextRects::forRun(pdfium, document, page, text, position, match.length());
        reply = found.toJson();
        return;
    }
    reply = SearchReply{}.toJson();
}

} // namespace velk
