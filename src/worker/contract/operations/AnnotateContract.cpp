#include "worker/contract/operations/AnnotateContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <limits>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kPage = QStringLiteral("page");
const QString kKind = QStringLiteral("kind");
const QString kLeft = QStringLiteral("left");
const QString kTop = QStringLiteral("top");
const QString kRight = QStringLiteral("right");
const QString kBottom = QStringLiteral("bottom");
const QString kOutput = QStringLiteral("output");

constexpr double kAnyNumber = std::numeric_limits<double>::max();
constexpr qsizetype kAnyLength = std::numeric_limits<qsizetype>::max();

double numberOr(const QJsonObject& json, const QString& key)
{
    return JsonFields::number(json, key, -kAnyNumber, kAnyNumber).value_or(-1);
}

} // namespace

QJsonObject AnnotateRequest::toJson() const
{
    QJsonObject json{{QStringLiteral("operation"), QStringLiteral("annotate")},
                     {kPage, page},
                     {kKind, kind},
                     {kLeft, left},
                     {kTop, top},
                     {kRight, right},
                     {kBottom, bottom}};
    if (!path.isEmpty())
        json.insert(QStringLiteral("path"), path);
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

AnnotateRequest AnnotateRequest::fromJson(const QJsonObject& json)
{
    AnnotateRequest request;
    request.path = json.value(QStringLiteral("path")).toString();
    request.page = JsonFields::index(json, kPage, kMaxPageIndex);
    request.kind = JsonFields::string(json, kKind, kAnyLength).value_or(QString());
    request.left = numberOr(json, kLeft);
    request.top = numberOr(json, kTop);
    request.right = numberOr(json, kRight);
    request.bottom = numberOr(json, kBottom);
    request.output = JsonFields::string(json, kOutput, kAnyLength).value_or(QString());
    return request;
}

bool AnnotateRequest::isKnownKind(const QString& kind)
{
    // Exact: "Highlight" is no kind.
    return kind == QLatin1String("highlight") || kind == QLatin1String("rectangle")
        || kind == QLatin1String("ellipse");
}

bool AnnotateRequest::hasUsableShape() const
{
    return isKnownKind(kind) && left >= 0 && top >= 0 && right <= 1 && bottom <= 1
        && right - left >= kMinShapeExtent && bottom - top >= kMinShapeExtent;
}

} // namespace velk
