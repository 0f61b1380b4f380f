#include "worker/contract/operations/InsertionContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <cmath>
#include <limits>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kPage = QStringLiteral("page");
const QString kText = QStringLiteral("text");
const QString kX = QStringLiteral("x");
const QString kY = QStringLiteral("y");
const QString kSize = QStringLiteral("size");
const QString kOutput = QStringLiteral("output");

constexpr double kAnyNumber = std::numeric_limits<double>::max();

double numberOr(const QJsonObject& json, const QString& key, double fallback)
{
    return JsonFields::number(json, key, -kAnyNumber, kAnyNumber).value_or(fallback);
}

bool isNormalised(double value)
{
    return value >= 0.0 && value <= 1.0;
}

} // namespace

QJsonObject InsertionRequest::toJson() const
{
    QJsonObject json{{QStringLiteral("operation"), note ? QStringLiteral("addNote") : QStringLiteral("addText")},
                     {QStringLiteral("path"), path},
                     {kPage, page},
                     {kText, text},
                     {kX, x},
                     {kY, y},
                     {kSize, size}};
    // The task that runs the request names the output.
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

std::optional<InsertionRequest> InsertionRequest::fromJson(const QJsonObject& json)
{
    InsertionRequest request;
    request.note = json.value(QStringLiteral("operation")).toString() == QLatin1String("addNote");
    request.path = json.value(QStringLiteral("path")).toString();
    const std::optional<qint64> page = JsonFields::integer(json, kPage, 0, kMaxPageIndex);
    request.text = JsonFields::string(json, kText, kMaxEditTextUnits).value_or(QString());
    request.x = numberOr(json, kX, -1);
    request.y = numberOr(json, kY, -1);
    // A size that is a number but not finite is refused, not defaulted.
    const QJsonValue requestedSize = json.value(kSize);
    const std::optional<float> size =
        fontSize(requestedSize.isDouble() ? requestedSize.toDouble() : kDefaultInsertFontSize);
    request.output = JsonFields::string(json, kOutput, std::numeric_limits<qsizetype>::max()).value_or(QString());
    if (!page || !isUsableText(request.text) || !isNormalised(request.x) || !isNormalised(request.y) || !size)
        return std::nullopt;
    request.page = *page;
    request.size = double(*size);
    return request;
}

bool InsertionRequest::isUsableText(const QString& text)
{
    return text.size() <= kMaxEditTextUnits && !text.contains(QChar(0)) && !text.trimmed().isEmpty();
}

std::optional<float> InsertionRequest::fontSize(double requested)
{
    // Only a value that float can hold is converted at all.
    if (!std::isfinite(requested) || std::fabs(requested) > double(kMaxInsertFontSize) * 2)
        return std::nullopt;
    const float size = float(requested);
    if (size < kMinInsertFontSize || size > kMaxInsertFontSize)
        return std::nullopt;
    return size;
}

} // namespace velk
