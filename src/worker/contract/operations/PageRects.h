#pragma once

// Rectangles on a page as replies carry them: [x, y, width, height] in PDF
// points from the top-left corner of the page as it is displayed (its
// /Rotate and crop box applied), the coordinates the page sizes of
// "inspect" are given in. One reader for every reply that places things on
// a page.

#include <QJsonArray>
#include <QList>
#include <QRectF>

#include <optional>

namespace velk::PageRects {

QJsonArray toJson(const QList<QRectF>& rects);
QJsonArray toJson(const QRectF& rect);

// One rectangle: four finite numbers, the corner within 0 .. the largest
// page side, width and height not negative and the far sides within it too.
std::optional<QRectF> rectFromJson(const QJsonValue& value);
// A list of at most maxCount such rectangles; refused whole when any is not.
std::optional<QList<QRectF>> fromJson(const QJsonValue& value, int maxCount);

} // namespace velk::PageRects
