#include "worker/contract/operations/TextContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/PageRects.h"

namespace velk {

namespace {

const QString kPage = QStringLiteral("page");
const QString kArea = QStringLiteral("area");
const QString kText = QStringLiteral("text");

} // namespace

QJsonObject TextRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("text")},
                       {QStringLiteral("path"), path},
                       {kPage, page},
                       {kArea, PageRects::toJson(area)}};
}

std::optional<TextRequest> TextRequest::fromJson(const QJsonObject& json)
{
    const std::optional<qint64> page = JsonFields::integer(json, kPage, 0, SharedLimits::kMaxPageIndex);
    const std::optional<QRectF> area = PageRects::rectFromJson(json.value(kArea));
    if (!page || !area)
        return std::nullopt;
    return TextRequest{json.value(QStringLiteral("path")).toString(), int(*page), *area};
}

QJsonObject TextReply::toJson() const
{
    return QJsonObject{{QStringLiteral("ok"), true}, {kText, text}};
}

std::optional<TextReply> TextReply::fromJson(const QJsonObject& json)
{
    const std::optional<QString> text = JsonFields::string(json, kText, SharedLimits::kMaxSelectionUnits);
    if (!text)
        return std::nullopt;
    return TextReply{*text};
}

} // namespace velk
