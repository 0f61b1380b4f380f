#include "worker/contract/operations/PageRects.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

namespace velk::PageRects {

namespace {

bool withinPage(double value)
{
    return value >= 0 && value <= SharedLimits::kMaxPageSide;
}

} // namespace

QJsonArray toJson(const QRectF& rect)
{
    return QJsonArray{rect.x(), rect.y(), rect.width(), rect.height()};
}

QJsonArray toJson(const QList<QRectF>& rects)
{
    QJsonArray list;
    for (const QRectF& rect : rects)
        list.append(toJson(rect));
    return list;
}

std::optional<QRectF> rectFromJson(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    const QJsonArray numbers = value.toArray();
    if (numbers.size() != 4)
        return std::nullopt;
    double sides[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> number = JsonFields::number(numbers.at(i), 0, SharedLimits::kMaxPageSide);
        if (!number)
            return std::nullopt;
        sides[i] = *number;
    }
    const QRectF rect(sides[0], sides[1], sides[2], sides[3]);
    if (!withinPage(rect.right()) || !withinPage(rect.bottom()))
        return std::nullopt;
    return rect;
}

std::optional<QList<QRectF>> fromJson(const QJsonValue& value, int maxCount)
{
    if (!value.isArray() || value.toArray().size() > maxCount)
        return std::nullopt;
    QList<QRectF> rects;
    for (const QJsonValue& item : value.toArray()) {
        const std::optional<QRectF> rect = rectFromJson(item);
        if (!rect)
            return std::nullopt;
        rects.append(*rect);
    }
    return rects;
}

} // namespace velk::PageRects
