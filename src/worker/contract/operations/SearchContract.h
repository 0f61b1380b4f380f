#pragma once

// "search": the next page, from a start page on and wrapping round, whose
// text contains the query.

#include <QJsonObject>
#include <QString>

#include <optional>

namespace velk {

struct SearchRequest {
    QString path;
    QString query;
    // The worker clamps the start to the document's pages; absent or not a
    // whole number reads as 0.
    qint64 start = 0;

    QJsonObject toJson() const;
    // Refuses an empty query or one longer than the query limit.
    static std::optional<SearchRequest> fromJson(const QJsonObject& json);
};

struct SearchReply {
    // -1 when no page holds the query.
    int page = -1;
    QString snippet;

    QJsonObject toJson() const;
    // For a document of pageCount pages: refuses a page that is not -1 or
    // one of its pages (an absent page reads as -1); the snippet is cut to
    // the snippet limit.
    static std::optional<SearchReply> fromJson(const QJsonObject& json, int pageCount);
};

} // namespace velk
