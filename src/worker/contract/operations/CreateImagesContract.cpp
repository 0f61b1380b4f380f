#include "worker/contract/operations/CreateImagesContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

namespace velk {

namespace {

const QString kSources = QStringLiteral("sources");
const QString kPath = QStringLiteral("path");
const QString kOutput = QStringLiteral("output");

} // namespace

QJsonObject CreateImagesRequest::toJson() const
{
    QJsonArray list;
    for (const QString& path : sources)
        list.append(QJsonObject{{kPath, path}});
    QJsonObject json{{QStringLiteral("operation"), QStringLiteral("createImages")}, {kSources, list}};
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

std::optional<CreateImagesRequest> CreateImagesRequest::fromJson(const QJsonObject& json)
{
    const std::optional<QJsonArray> list = JsonFields::array(json, kSources, SharedLimits::kMaxImages);
    if (!list || list->isEmpty())
        return std::nullopt;
    CreateImagesRequest request;
    for (const QJsonValue& value : *list)
        request.sources.append(value.toObject().value(kPath).toString());
    request.output = json.value(kOutput).toString();
    return request;
}

} // namespace velk
