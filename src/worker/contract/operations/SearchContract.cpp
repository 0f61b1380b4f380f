#include "worker/contract/operations/SearchContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <limits>

namespace velk {

namespace {

const QString kQuery = QStringLiteral("query");
const QString kStart = QStringLiteral("start");
const QString kPage = QStringLiteral("page");
const QString kSnippet = QStringLiteral("snippet");

constexpr qint64 kAnyInteger = std::numeric_limits<qint64>::max();

} // namespace

QJsonObject SearchRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("search")},
                       {QStringLiteral("path"), path},
                       {kQuery, query},
                       {kStart, start}};
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
    return request;
}

QJsonObject SearchReply::toJson() const
{
    QJsonObject json{{QStringLiteral("ok"), true}, {kPage, page}};
    if (page >= 0)
        json.insert(kSnippet, snippet);
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
    if (reply.page >= 0)
        reply.snippet = json.value(kSnippet).toString().left(SharedLimits::kMaxSnippetUnits);
    return reply;
}

} // namespace velk
