#include "PagePixels.h"

#include "RunnerLimits.h"
#include "RunnerMessages.h"

#include <QByteArray>
#include <QJsonValue>

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

namespace velk {

namespace {

struct PageGeometry {
    int width = -1;
    int height = -1;
    int stride = -1;
};

// A number counts only when it is exactly a 32-bit integer; anything else
// (a fraction, a string, a value beyond int) reads as -1, which no bound
// admits. The range test comes first: converting an out-of-range double
// to int is undefined.
int exactInteger(const QJsonValue& value)
{
    if (!value.isDouble())
        return -1;
    const double number = value.toDouble();
    if (!(number >= double(std::numeric_limits<int>::min()) && number <= double(std::numeric_limits<int>::max())))
        return -1;
    const int integer = int(number);
    return double(integer) == number ? integer : -1;
}

bool withinBounds(const PageGeometry& g)
{
    using namespace RunnerLimits;
    return g.width >= 1 && g.width <= kMaxPageWidth && g.height >= 1 && g.height <= kMaxPageHeight
        && std::int64_t(g.width) * g.height <= kMaxPagePixels
        && std::int64_t(g.stride) == std::int64_t(kBytesPerPixel) * g.width;
}

// Strict standard Base64 of exactly byteCount bytes: the padded length is
// checked before decoding, the decoder stops at the first character outside
// the alphabet, and the decoded size is checked again.
std::optional<QByteArray> decodeExactly(const QJsonValue& value, std::int64_t byteCount)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    if (std::int64_t(text.size()) != 4 * ((byteCount + 2) / 3))
        return std::nullopt;
    // Characters beyond Latin-1 become '?', which the decoder refuses.
    QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        text.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok
        || std::int64_t(decoded.decoded.size()) != byteCount)
        return std::nullopt;
    return std::move(decoded.decoded);
}

PdfRenderResult invalid()
{
    return PdfRenderResult{QImage(), RunnerMessages::pagePixelsInvalid()};
}

} // namespace

PdfRenderResult decodePagePixels(const QJsonObject& reply)
{
    PageGeometry geometry;
    geometry.width = exactInteger(reply.value(QLatin1String("width")));
    geometry.height = exactInteger(reply.value(QLatin1String("height")));
    geometry.stride = exactInteger(reply.value(QLatin1String("stride")));
    const QJsonValue format = reply.value(QLatin1String("format"));
    if (!format.isString() || format.toString() != QLatin1String("RGBA8888") || !withinBounds(geometry))
        return invalid();

    const std::int64_t byteCount = std::int64_t(geometry.height) * geometry.stride;
    const std::optional<QByteArray> pixels = decodeExactly(reply.value(QLatin1String("pixels")), byteCount);
    if (!pixels)
        return invalid();

    QImage image(geometry.width, geometry.height, QImage::Format_RGBA8888);
    if (image.isNull() || image.bytesPerLine() != geometry.stride || std::int64_t(image.sizeInBytes()) != byteCount)
        return invalid();
    std::memcpy(image.bits(), pixels->constData(), size_t(byteCount));
    return PdfRenderResult{image, QString()};
}

} // namespace velk
