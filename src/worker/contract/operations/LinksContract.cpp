#include "worker/contract/operations/LinksContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/PageRects.h"

#include <QJsonArray>

namespace velk {

namespace {

const QString kLinks = QStringLiteral("links");
const QString kPage = QStringLiteral("page");
const QString kRect = QStringLiteral("rect");
const QString kUri = QStringLiteral("uri");

std::optional<PageLinkEntry> readLink(const QJsonValue& value, int pageCount)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<QRectF> rect = PageRects::rectFromJson(object.value(kRect));
    if (!rect || object.contains(kPage) == object.contains(kUri))
        return std::nullopt;
    PageLinkEntry link;
    link.rect = *rect;
    if (object.contains(kPage)) {
        const std::optional<qint64> page = JsonFields::integer(object, kPage, 0, qint64(pageCount) - 1);
        if (!page)
            return std::nullopt;
        link.page = int(*page);
        return link;
    }
    const std::optional<QString> uri = JsonFields::string(object, kUri, SharedLimits::kMaxUriBytes);
    if (!uri || !LinksReply::isOfferedUri(*uri))
        return std::nullopt;
    link.uri = *uri;
    return link;
}

} // namespace

QJsonObject LinksRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("links")},
                       {QStringLiteral("path"), path},
                       {kPage, page}};
}

std::optional<LinksRequest> LinksRequest::fromJson(const QJsonObject& json)
{
    const std::optional<qint64> page = JsonFields::integer(json, kPage, 0, SharedLimits::kMaxPageIndex);
    if (!page)
        return std::nullopt;
    return LinksRequest{json.value(QStringLiteral("path")).toString(), int(*page)};
}

QJsonObject LinksReply::toJson() const
{
    QJsonArray list;
    for (const PageLinkEntry& link : links) {
        QJsonObject object{{kRect, PageRects::toJson(link.rect)}};
        if (link.page >= 0)
            object.insert(kPage, link.page);
        else
            object.insert(kUri, link.uri);
        list.append(object);
    }
    return QJsonObject{{QStringLiteral("ok"), true}, {kLinks, list}};
}

std::optional<LinksReply> LinksReply::fromJson(const QJsonObject& json, int pageCount)
{
    LinksReply reply;
    if (!json.contains(kLinks))
        return reply;
    const std::optional<QJsonArray> list = JsonFields::array(json, kLinks, SharedLimits::kMaxPageLinks);
    if (!list)
        return std::nullopt;
    for (const QJsonValue& value : *list) {
        const std::optional<PageLinkEntry> link = readLink(value, pageCount);
        if (!link)
            return std::nullopt;
        reply.links.append(*link);
    }
    return reply;
}

bool LinksReply::isOfferedUri(const QString& uri)
{
    if (uri.isEmpty() || uri.size() > SharedLimits::kMaxUriBytes)
        return false;
    for (const QChar c : uri) {
        // Printable ASCII: one byte each, so the length is the byte count.
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
            return false;
    }
    return true;
}

} // namespace velk
