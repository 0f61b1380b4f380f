#include "worker/contract/operations/OcrContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

namespace velk {

namespace {

const QString kPath = QStringLiteral("path");
const QString kPage = QStringLiteral("page");
const QString kOutput = QStringLiteral("output");

} // namespace

QJsonObject OcrRequest::toJson() const
{
    QJsonObject json{{QStringLiteral("operation"), QStringLiteral("ocr")}, {kPath, path}, {kPage, page}};
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

OcrRequest OcrRequest::fromJson(const QJsonObject& json)
{
    return OcrRequest{json.value(kPath).toString(), JsonFields::index(json, kPage, SharedLimits::kMaxPageIndex),
                      json.value(kOutput).toString()};
}

} // namespace velk
