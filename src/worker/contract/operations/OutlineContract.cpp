#include "worker/contract/operations/OutlineContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

#include <algorithm>

namespace velk {

namespace {

const QString kOutline = QStringLiteral("outline");
const QString kTruncated = QStringLiteral("truncated");
const QString kTitle = QStringLiteral("title");
const QString kPage = QStringLiteral("page");
const QString kDepth = QStringLiteral("depth");

std::optional<OutlineEntry> readEntry(const QJsonValue& value, int pageCount, int deepestAllowed)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<QString> title = JsonFields::string(object, kTitle, SharedLimits::kMaxOutlineTitleUnits);
    const std::optional<qint64> page = JsonFields::integer(object, kPage, -1, qint64(pageCount) - 1);
    const std::optional<qint64> depth = JsonFields::integer(object, kDepth, 0, deepestAllowed);
    if (!title || !page || !depth)
        return std::nullopt;
    return OutlineEntry{*title, int(*page), int(*depth)};
}

} // namespace

QJsonObject OutlineRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("outline")}, {QStringLiteral("path"), path}};
}

QJsonObject OutlineReply::toJson() const
{
    QJsonArray list;
    for (const OutlineEntry& entry : entries)
        list.append(QJsonObject{{kTitle, entry.title}, {kPage, entry.page}, {kDepth, entry.depth}});
    return QJsonObject{{QStringLiteral("ok"), true}, {kOutline, list}, {kTruncated, truncated}};
}

std::optional<OutlineReply> OutlineReply::fromJson(const QJsonObject& json, int pageCount)
{
    OutlineReply reply;
    reply.truncated = JsonFields::boolean(json, kTruncated).value_or(false);
    if (!json.contains(kOutline))
        return reply;
    const std::optional<QJsonArray> list = JsonFields::array(json, kOutline, SharedLimits::kMaxOutlineEntries);
    if (!list)
        return std::nullopt;
    int deepestAllowed = 0;
    for (const QJsonValue& value : *list) {
        const std::optional<OutlineEntry> entry =
            readEntry(value, pageCount, std::min(deepestAllowed, SharedLimits::kMaxOutlineDepth - 1));
        if (!entry)
            return std::nullopt;
        reply.entries.append(*entry);
        deepestAllowed = entry->depth + 1;
    }
    return reply;
}

} // namespace velk
