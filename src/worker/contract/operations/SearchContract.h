#pragma once

// "search": the next hit of the query, from a start page and a hit of that
// page on, forwards or backwards, wrapping round; with where the hit sits on
// its page.

#include <QJsonObject>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

namespace velk {

struct SearchRequest {
    QString path;
    QString query;
    // The worker clamps the start to the document's pages; absent or not a
    // whole number reads as 0.
    qint64 start = 0;
    // The ordinal, among the hits of the start page, to begin at: forwards
    // the first hit at or after it, backwards the last at or before it (-1:
    // none of the start page until the search comes back round to it).
    // Absent: every hit of the start page counts. Kept within -1 .. the hits
    // a page may hold.
    std::optional<int> first;
    bool backward = false;

    QJsonObject toJson() const;
    // Refuses an empty query or one longer than the query limit.
    static std::optional<SearchRequest> fromJson(const QJsonObject& json);
};

struct SearchReply {
    // -1 when no page holds the query.
    int page = -1;
    QString snippet;
    // Which hit of its page this is, from 0 in reading order.
    int hit = 0;
    // The search passed the end of the document (the start, backwards) to
    // reach this hit.
    bool wrapped = false;
    // Where the hit's characters are, one rectangle per line (PageRects);
    // empty when the page's text cannot be placed.
    QList<QRectF> rects;

    QJsonObject toJson() const;
    // For a document of pageCount pages: refuses a page that is not -1 or
    // one of its pages (an absent page reads as -1), a hit ordinal or
    // rectangles out of bounds; the snippet is cut to the snippet limit.
    static std::optional<SearchReply> fromJson(const QJsonObject& json, int pageCount);
};

} // namespace velk
