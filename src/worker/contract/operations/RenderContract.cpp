#include "worker/contract/operations/RenderContract.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <limits>

namespace velk {

namespace {

using namespace SharedLimits;

const QString kPage = QStringLiteral("page");
const QString kWidth = QStringLiteral("width");
const QString kHeight = QStringLiteral("height");
const QString kStride = QStringLiteral("stride");
const QString kFormat = QStringLiteral("format");
const QString kPixels = QStringLiteral("pixels");
const QString kRgba = QStringLiteral("RGBA8888");

constexpr qint64 kAnyInteger = std::numeric_limits<qint64>::max();

// The exact Base64 length of byteCount bytes, checked before decoding.
std::optional<QByteArray> exactPixels(const QJsonObject& json, qint64 byteCount)
{
    const QJsonValue value = json.value(kPixels);
    if (!value.isString() || qint64(value.toString().size()) != 4 * ((byteCount + 2) / 3))
        return std::nullopt;
    std::optional<QByteArray> pixels = JsonFields::base64(json, kPixels, qsizetype(byteCount));
    if (!pixels || qint64(pixels->size()) != byteCount)
        return std::nullopt;
    return pixels;
}

} // namespace

QJsonObject RenderRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("render")},
                       {QStringLiteral("path"), path},
                       {kPage, page},
                       {kWidth, width}};
}

std::optional<RenderRequest> RenderRequest::fromJson(const QJsonObject& json)
{
    const std::optional<qint64> page = JsonFields::integer(json, kPage, 0, kMaxPageIndex);
    if (!page)
        return std::nullopt;
    RenderRequest request;
    request.path = json.value(QStringLiteral("path")).toString();
    request.page = *page;
    request.width = JsonFields::integer(json, kWidth, -kAnyInteger - 1, kAnyInteger).value_or(kDefaultRenderWidth);
    return request;
}

QJsonObject RenderReply::toJson() const
{
    QJsonObject json{{QStringLiteral("ok"), true},
                     {kFormat, kRgba},
                     {kWidth, width},
                     {kHeight, height},
                     {kStride, width * kBytesPerPixel}};
    json.insert(kPixels, QJsonValue(QLatin1StringView(pixels.toBase64())));
    return json;
}

std::optional<RenderReply> RenderReply::fromJson(const QJsonObject& json)
{
    const std::optional<qint64> width = JsonFields::integer(json, kWidth, 1, kMaxRenderWidth);
    const std::optional<qint64> height = JsonFields::integer(json, kHeight, 1, kMaxRenderHeight);
    const qint64 maxStride = qint64(kMaxRenderWidth) * kBytesPerPixel;
    const std::optional<qint64> stride = JsonFields::integer(json, kStride, 0, maxStride);
    const std::optional<QString> format = JsonFields::string(json, kFormat, kRgba.size());
    if (!width || !height || !stride || format != kRgba || *width * *height > kMaxRenderPixels
        || *stride != *width * kBytesPerPixel)
        return std::nullopt;
    std::optional<QByteArray> pixels = exactPixels(json, *height * *stride);
    if (!pixels)
        return std::nullopt;
    return RenderReply{int(*width), int(*height), std::move(*pixels)};
}

} // namespace velk
