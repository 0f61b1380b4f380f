#include "worker/contract/operations/SignatureListContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

#include <limits>

namespace velk {

namespace {

const QString kSignatures = QStringLiteral("signatures");
constexpr int kRangeEntries = 4;
// The listing cuts the sub-filter at 127 bytes and the time at 127.
constexpr qsizetype kMaxNameUnits = 128;

QList<qint64> readRange(const QJsonObject& entry)
{
    const std::optional<QJsonArray> values = JsonFields::array(entry, QStringLiteral("range"), kRangeEntries);
    if (!values || values->size() != kRangeEntries)
        return {};
    QList<qint64> range;
    for (const QJsonValue& value : *values) {
        const std::optional<qint64> number =
            JsonFields::integer(value, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
        if (!number)
            return {};
        range.append(*number);
    }
    return range;
}

} // namespace

QJsonObject SignaturesRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("signatures")}, {QStringLiteral("path"), path}};
}

std::optional<SignaturesReply> SignaturesReply::fromJson(const QJsonObject& json)
{
    const std::optional<QJsonArray> list = JsonFields::array(json, kSignatures, SharedLimits::kMaxListedSignatures);
    if (!list)
        return std::nullopt;
    SignaturesReply reply;
    for (const QJsonValue& value : *list) {
        if (!value.isObject())
            return std::nullopt;
        const QJsonObject entry = value.toObject();
        SignatureEntry signature;
        signature.range = readRange(entry);
        signature.filter = JsonFields::string(entry, QStringLiteral("filter"), kMaxNameUnits).value_or(QString());
        signature.cms =
            JsonFields::base64(entry, QStringLiteral("cms"), SharedLimits::kMaxSignatureContentsBytes);
        signature.time = JsonFields::string(entry, QStringLiteral("time"), kMaxNameUnits).value_or(QString());
        reply.signatures.append(signature);
    }
    return reply;
}

QJsonObject SignaturePolicyRequest::toJson() const
{
    QJsonObject request{{QStringLiteral("operation"), QStringLiteral("signaturePolicy")},
                        {QStringLiteral("path"), path}};
    if (snapshot)
        request.insert(QStringLiteral("snapshot"), true);
    if (evidence)
        request.insert(QStringLiteral("evidence"), true);
    return request;
}

} // namespace velk
