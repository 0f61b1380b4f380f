#pragma once

// "text": the text inside an area of one page (a selection), the area in
// PageRects coordinates.

#include <QJsonObject>
#include <QRectF>
#include <QString>

#include <optional>

namespace velk {

struct TextRequest {
    QString path;
    int page = 0;
    QRectF area;

    QJsonObject toJson() const;
    // Refuses a page outside the page-index bound and an area that is not a
    // valid page rectangle.
    static std::optional<TextRequest> fromJson(const QJsonObject& json);
};

struct TextReply {
    QString text;

    QJsonObject toJson() const;
    // Refuses a text longer than the selection limit or not a string.
    static std::optional<TextReply> fromJson(const QJsonObject& json);
};

} // namespace velk
