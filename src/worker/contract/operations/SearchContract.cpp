#include "worker/contract/operations/SearchContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/PageRects.h"

#include <algorithm>
#include <limits>

namespace velk {

namespace {

const QString kQuery = QStringLiteral("query");
const QString kStart = QStringLiteral("start");
const QString kPage = QStringLiteral("page");
const QString kSnippet = QStringLiteral("snippet");
const QString kFirst = QStringLiteral("first");
const QString kBackward = QStringLiteral("backward");
const QString kHit = QStringLiteral("hit");
const QString kWrapped = QStringLiteral("wrapped");
const QString kRects = QStringLiteral("rects");

constexpr qint64 kAnyInteger = std::numeric_limits<qint64>::max();

} // namespace

QJsonObject SearchRequest::toJson() const
{
    QJsonObject json{{QStringLiteral("operation"), QStringLiteral("search")},
                     {QStringLiteral("path"), path},
                     {kQuery, query},
                     {kStart, start}};
    if (first)
        json.insert(kFirst, *first);
    if (backward)
        json.insert(kBackward, true);
    return json;
}

std::optional<SearchRequest> SearchRequest::fromJson(const QJsonObject& json)
{
    const std::optional<QString> query = JsonFields::string(json, kQuery, SharedLimits::kMaxQueryUnits);
    if (!query || query->isEmpty())
        return std::nullopt;
    SearchRequest request;
    request.path = json.value(QStringLiteral("path")).toString();
    request.query = *query;
    request.start = JsonFields::integer(json, kStart, -kAnyInteger - 1, kAnyInteger).value_or(0);
    if (const std::optional<qint64> first = JsonFields::integer(json, kFirst, -kAnyInteger - 1, kAnyInteger))
        request.first = int(std::clamp<qint64>(*first, -1, SharedLimits::kMaxHitsPerPage));
    request.backward = JsonFields::boolean(json, kBackward).value_or(false);
    return request;
}

QJsonObject SearchReply::toJson() const
{
    QJsonObject json{{QStringLiteral("ok"), true}, {kPage, page}};
    if (page >= 0) {
        json.insert(kSnippet, snippet);
        json.insert(kHit, hit);
        json.insert(kWrapped, wrapped);
        json.insert(kRects, PageRects::toJson(rects));
    }
    return json;
}

std::optional<SearchReply> SearchReply::fromJson(const QJsonObject& json, int pageCount)
{
    SearchReply reply;
    // A page the document does not have would send the view nowhere and
    // start the next search from a wrong place.
    if (json.contains(kPage)) {
        const std::optional<qint64> page = JsonFields::integer(json, kPage, -1, qint64(pageCount) - 1);
        if (!page)
            return std::nullopt;
        reply.page = int(*page);
    }
    if (reply.page < 0)
        return reply;
    reply.snippet = json.value(kSnippet).toString().left(SharedLimits::kMaxSnippetUnits);
    if (json.contains(kHit)) {
        const std::optional<qint64> hit = JsonFields::integer(json, kHit, 0, SharedLimits::kMaxHitsPerPage - 1);
        if (!hit)
            return std::nullopt;
        reply.hit = int(*hit);
    }
    reply.wrapped = JsonFields::boolean(json, kWrapped).value_or(false);
    if (json.contains(kRects)) {
        std::optional<QList<QRectF>> rects = PageRects::fromJson(json.value(kRects), SharedLimits::kMaxHitRects);
        if (!rects)
            return std::nullopt;
        reply.rects = std::move(*rects);
    }
    return reply;
}

} // namespace velk
