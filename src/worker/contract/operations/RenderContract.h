#pragma once

// "render": one page drawn into RGBA pixels of a requested width.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace velk {

struct RenderRequest {
    QString path;
    qint64 page = 0;
    // The worker clamps the width to its bounds; a width that is absent or
    // not a whole number asks for the default.
    qint64 width = 0;

    QJsonObject toJson() const;
    // Refuses a page that is not a whole number in 0..pages-1 of the
    // largest document.
    static std::optional<RenderRequest> fromJson(const QJsonObject& json);
};

struct RenderReply {
    int width = 0;
    int height = 0;
    // RGBA8888 rows of exactly 4 * width bytes, height rows.
    QByteArray pixels;

    QJsonObject toJson() const;
    // Refuses sides or a pixel count out of bounds, a stride other than four
    // bytes per pixel, a format other than "RGBA8888", and pixels that are
    // not strict Base64 of exactly height * stride bytes.
    static std::optional<RenderReply> fromJson(const QJsonObject& json);
};

} // namespace velk
