#include "worker/contract/operations/PagesContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <QJsonArray>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kSources = QStringLiteral("sources");
const QString kPath = QStringLiteral("path");
const QString kPages = QStringLiteral("pages");
const QString kRotations = QStringLiteral("rotations");
const QString kOutput = QStringLiteral("output");

// The largest angle a rotation may name.
constexpr qint64 kMaxAngle = 270;

QJsonArray arrayOf(const QList<qint64>& values)
{
    QJsonArray list;
    for (const qint64 value : values)
        list.append(value);
    return list;
}

bool isAbsent(const QJsonValue& value)
{
    return value.isUndefined() || value.isNull();
}

PageSourceEntry readSource(const QJsonValue& value)
{
    const QJsonObject source = value.toObject();
    PageSourceEntry entry{source.value(kPath).toString(), {}};
    const QJsonValue pages = source.value(kPages);
    if (pages.isArray())
        entry.pages = PagesRequest::indices(pages.toArray(), kMaxPageIndex);
    else if (!isAbsent(pages))
        entry.pages = {-1};
    return entry;
}

} // namespace

QList<qint64> PagesRequest::indices(const QJsonArray& list, qint64 maximum)
{
    QList<qint64> values;
    values.reserve(list.size());
    for (const QJsonValue& value : list)
        values.append(JsonFields::integer(value, 0, maximum).value_or(-1));
    return values;
}

QJsonObject PagesRequest::toJson() const
{
    QJsonArray list;
    for (const PageSourceEntry& source : sources) {
        QJsonObject entry{{kPath, source.path}};
        if (!source.pages.isEmpty())
            entry.insert(kPages, arrayOf(source.pages));
        list.append(entry);
    }
    QJsonObject json{{QStringLiteral("operation"), overlay ? QStringLiteral("overlay") : QStringLiteral("pages")},
                     {kSources, list}};
    if (rotations && !rotations->isEmpty())
        json.insert(kRotations, arrayOf(*rotations));
    if (!output.isEmpty())
        json.insert(kOutput, output);
    return json;
}

std::optional<PagesRequest> PagesRequest::fromJson(const QJsonObject& json)
{
    const std::optional<QJsonArray> list = JsonFields::array(json, kSources, kMaxPageSources);
    if (!list || list->isEmpty())
        return std::nullopt;
    PagesRequest request;
    request.overlay = json.value(QStringLiteral("operation")).toString() == QLatin1String("overlay");
    for (const QJsonValue& value : *list)
        request.sources.append(readSource(value));
    const QJsonValue rotations = json.value(kRotations);
    if (rotations.isArray())
        request.rotations = indices(rotations.toArray(), kMaxAngle);
    else if (!isAbsent(rotations))
        request.rotations = std::nullopt;
    request.output = json.value(kOutput).toString();
    return request;
}

QJsonObject PagesReply::toJson() const
{
    return QJsonObject{{QStringLiteral("ok"), true}, {kPages, pages}};
}

std::optional<PagesReply> PagesReply::fromJson(const QJsonObject& json)
{
    const std::optional<qint64> pages = JsonFields::integer(json, kPages, kMinPageCount, kMaxOutputPages);
    if (!pages)
        return std::nullopt;
    return PagesReply{int(*pages)};
}

} // namespace velk
