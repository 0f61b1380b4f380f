#include "ocr/OcrPageImage.h"

#include "pdfium/PdfiumHandles.h"

namespace velk {

namespace {

OcrPageImage failure(const char* sentence)
{
    return {QImage(), QString::fromUtf8(sentence)};
}

} // namespace

OcrPageImage renderOcrPage(const Pdfium& pdfium, FPDF_DOCUMENT document, int pageIndex, const OcrRaster& raster)
{
    const PdfiumFunctions& api = pdfium.api();
    QImage image(raster.pixels, QImage::Format_ARGB32);
    if (image.isNull())
        return failure("OCR sayfası için bellek ayrılamadı.");
    image.fill(Qt::white);
    PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, pageIndex));
    if (!page)
        return failure("OCR sayfası açılamadı.");
    // ARGB32 lies in memory as BGRA on the little-endian targets we build for.
    BitmapHandle bitmap = wrapBitmap(pdfium, api.FPDFBitmap_CreateEx(image.width(), image.height(), kFpdfBitmapBgra,
                                                                     image.bits(), int(image.bytesPerLine())));
    if (!bitmap)
        return failure("OCR sayfası çizilemedi.");
    api.FPDF_RenderPageBitmap(bitmap.get(), page.get(), 0, 0, image.width(), image.height(), 0,
                              kFpdfRenderAnnotations);
    bitmap.reset();
    page.reset();
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return failure("OCR sayfası için bellek ayrılamadı.");
    return {rgb, QString()};
}

} // namespace velk
