#include "inspection/RenderOperation.h"

#include "ErrorReply.h"
#include "pdfium/FormFillSession.h"
#include "inspection/InspectionLimits.h"
#include "pdfium/PdfiumHandles.h"
#include "inspection/RenderGeometry.h"

#include "worker/contract/operations/RenderContract.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>

namespace velk {

namespace {

using InspectionLimits::kBytesPerPixel;

// Caller-owned pixel memory for PDFium to draw into: B, G, R, A per pixel.
struct PixelBuffer {
    std::unique_ptr<std::uint8_t[]> bytes;
    int stride = 0;
    qsizetype size = 0;
};

std::optional<PixelBuffer> allocateWhite(const RenderGeometry& geometry)
{
    PixelBuffer buffer;
    buffer.stride = geometry.width * kBytesPerPixel;
    buffer.size = qsizetype(buffer.stride) * geometry.height;
    buffer.bytes.reset(new (std::nothrow) std::uint8_t[size_t(buffer.size)]);
    if (!buffer.bytes)
        return std::nullopt;
    // Opaque white: every byte of B, G, R and A is 0xFF.
    std::memset(buffer.bytes.get(), 0xFF, size_t(buffer.size));
    return buffer;
}

// B, G, R, A to R, G, B, A in place. The page was drawn over opaque white,
// so every pixel is opaque and premultiplied and straight alpha agree.
void swapRedAndBlue(PixelBuffer& buffer)
{
    std::uint8_t* pixel = buffer.bytes.get();
    std::uint8_t* const end = pixel + buffer.size;
    for (; pixel < end; pixel += kBytesPerPixel)
        std::swap(pixel[0], pixel[2]);
}

// The reply through the render contract; empty when its Base64 text cannot
// be allocated. The pixels are lent, not copied, for the encoding.
QJsonObject pixelReply(const RenderGeometry& geometry, const PixelBuffer& buffer)
{
    const RenderReply rendered{
        geometry.width, geometry.height,
        QByteArray::fromRawData(reinterpret_cast<const char*>(buffer.bytes.get()), buffer.size)};
    try {
        return rendered.toJson();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// Draws the page and, for a form, its form layer into the buffer. Empty on
// success, else the sentence. The handles are declared so that the form
// environment goes first, then the bitmap wrapper, then the page.
QString draw(const Pdfium& pdfium, FPDF_DOCUMENT document, int index, const RenderGeometry& geometry,
             PixelBuffer& buffer)
{
    const PdfiumFunctions& api = pdfium.api();
    const PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, index));
    if (!page)
        return QStringLiteral("Sayfa yüklenemedi.");
    const BitmapHandle bitmap = wrapBitmap(
        pdfium, api.FPDFBitmap_CreateEx(geometry.width, geometry.height, kFpdfBitmapBgra, buffer.bytes.get(),
                                        buffer.stride));
    if (!bitmap)
        return QStringLiteral("Sayfa çizimi başlatılamadı.");
    api.FPDF_RenderPageBitmap(bitmap.get(), page.get(), 0, 0, geometry.width, geometry.height, 0,
                              kFpdfRenderAnnotations);
    if (api.FPDF_GetFormType(document) != 0) {
        const FormFillSession session(pdfium, document, page.get(), index);
        if (!session.form())
            return QStringLiteral("Form/imza görünümü başlatılamadı.");
        api.FPDF_FFLDraw(session.form(), bitmap.get(), page.get(), 0, 0, geometry.width, geometry.height, 0,
                         kFpdfRenderAnnotations);
    }
    return {};
}

} // namespace

void RenderOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& json)
{
    const std::optional<RenderRequest> request = RenderRequest::fromJson(json);
    const qint64 index = request ? request->page : -1;
    if (index < 0 || index >= pdfium.api().FPDF_GetPageCount(document)) {
        reply = errorReply(QStringLiteral("Sayfa numarası geçersiz."), 0);
        return;
    }
    const std::optional<PageSize> size = PageSize::read(pdfium, document, int(index));
    if (!size) {
        reply = errorReply(QStringLiteral("Sayfa boyutu okunamadı."), 0);
        return;
    }
    const RenderGeometry geometry = RenderGeometry::fit(*size, request->width);

    std::optional<PixelBuffer> buffer = allocateWhite(geometry);
    if (!buffer) {
        reply = errorReply(QStringLiteral("Sayfa için bellek ayrılamadı."), 0);
        return;
    }
    const QString drawError = draw(pdfium, document, int(index), geometry, *buffer);
    if (!drawError.isEmpty()) {
        reply = errorReply(drawError, 0);
        return;
    }
    swapRedAndBlue(*buffer);
    QJsonObject rendered = pixelReply(geometry, *buffer);
    buffer.reset();
    if (rendered.isEmpty()) {
        reply = errorReply(QStringLiteral("Sayfa pikselleri oluşturulamadı."), 0);
        return;
    }
    reply = std::move(rendered);
}

} // namespace velk
