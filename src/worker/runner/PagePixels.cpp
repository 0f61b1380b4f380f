#include "worker/runner/PagePixels.h"

#include "worker/runner/RunnerMessages.h"

#include "worker/contract/operations/RenderContract.h"

#include <cstring>
#include <optional>

namespace velk {

namespace {

PdfRenderResult invalid()
{
    return PdfRenderResult{QImage(), RunnerMessages::pagePixelsInvalid()};
}

} // namespace

PdfRenderResult decodePagePixels(const QJsonObject& reply)
{
    // The contract bounds every number and checks the pixels' size before
    // a single pixel is copied.
    const std::optional<RenderReply> render = RenderReply::fromJson(reply);
    if (!render)
        return invalid();
    const qint64 byteCount = qint64(render->pixels.size());
    QImage image(render->width, render->height, QImage::Format_RGBA8888);
    if (image.isNull() || qint64(image.bytesPerLine()) * render->height != byteCount
        || qint64(image.sizeInBytes()) != byteCount)
        return invalid();
    std::memcpy(image.bits(), render->pixels.constData(), size_t(byteCount));
    return PdfRenderResult{image, QString()};
}

} // namespace velk
