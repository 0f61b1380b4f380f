#pragma once

// "links": the links of one page, each a rectangle (PageRects) that goes to
// a page of the document or to a URI.

#include <QJsonObject>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

namespace velk {

struct LinksRequest {
    QString path;
    int page = 0;

    QJsonObject toJson() const;
    // The page must be a whole number within the page-index bound.
    static std::optional<LinksRequest> fromJson(const QJsonObject& json);
};

struct PageLinkEntry {
    QRectF rect;
    // A page of the document, or -1 when the link is a URI.
    int page = -1;
    QString uri;

    bool operator==(const PageLinkEntry&) const = default;
};

struct LinksReply {
    QList<PageLinkEntry> links;

    QJsonObject toJson() const;
    // For a document of pageCount pages: refuses more links than the page
    // limit, a link without a valid rectangle, one with both or neither of a
    // page and a URI, a page outside the document and a URI that is not
    // offered (isOfferedUri). An absent list reads as no links.
    static std::optional<LinksReply> fromJson(const QJsonObject& json, int pageCount);

    // At most the URI byte limit in UTF-8, printable ASCII only (no control
    // characters, no spaces): a URI as a file carries it.
    static bool isOfferedUri(const QString& uri);
};

} // namespace velk
