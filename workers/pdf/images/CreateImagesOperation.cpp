#include "images/CreateImagesOperation.h"

#include "images/DecodedImage.h"
#include "ErrorReply.h"
#include "images/ImagePageLimits.h"
#include "pdfium/PdfiumHandles.h"
#include "pdfium/SaveNewPdf.h"

#include "worker/contract/operations/CreateImagesContract.h"

#include <algorithm>

namespace velk {

namespace {

using namespace ImagePageLimits;

// Places the decoded image on page `index` of the document. Empty on
// success, else the sentence for the reply.
QString addImagePage(const Pdfium& pdfium, FPDF_DOCUMENT document, int index, QImage& image)
{
    const PdfiumFunctions& api = pdfium.api();
    PageHandle page = wrapPage(pdfium, api.FPDFPage_New(document, index, kPageWidth, kPageHeight));
    if (!page)
        return QStringLiteral("Görsel sayfası oluşturulamadı.");
    const int width = image.width();
    const int height = image.height();
    // ARGB32 lies in memory as BGRA on the little-endian targets we build for.
    BitmapHandle bitmap = wrapBitmap(
        pdfium, api.FPDFBitmap_CreateEx(width, height, kFpdfBitmapBgra, image.bits(), int(image.bytesPerLine())));
    if (!bitmap)
        return QStringLiteral("Görsel belleği oluşturulamadı.");
    PageObjectHandle object = wrapPageObject(pdfium, api.FPDFPageObj_NewImageObj(document));
    FPDF_PAGE pages[] = {page.get()};
    if (!object || !api.FPDFImageObj_SetBitmap(pages, 1, object.get(), bitmap.get()))
        return QStringLiteral("Görsel PDF nesnesine dönüştürülemedi.");
    // Small images are enlarged and large ones reduced to fit the margins.
    const double scale = std::min(kPrintableWidth / width, kPrintableHeight / height);
    const double drawnWidth = width * scale;
    const double drawnHeight = height * scale;
    api.FPDFPageObj_Transform(object.get(), drawnWidth, 0, 0, drawnHeight, (kPageWidth - drawnWidth) / 2,
                              (kPageHeight - drawnHeight) / 2);
    // The page owns the object from here on.
    api.FPDFPage_InsertObject(page.get(), object.release());
    const bool generated = api.FPDFPage_GenerateContent(page.get());
    bitmap.reset();
    if (!generated)
        return QStringLiteral("Görsel sayfası kaydedilemedi.");
    return QString();
}

// Decodes and places every source in order; false after the first failure.
bool addImagePages(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QStringList& sources)
{
    limitImageReaderAllocation();
    for (int index = 0; index < sources.size(); ++index) {
        DecodedImage decoded = decodePageImage(sources.at(index));
        if (decoded.image.isNull()) {
            reply = errorReply(decoded.error);
            return false;
        }
        const QString error = addImagePage(pdfium, document, index, decoded.image);
        if (!error.isEmpty()) {
            reply = errorReply(error);
            return false;
        }
    }
    return true;
}

} // namespace

void CreateImagesOperation::run(QJsonObject& reply, const QJsonObject& json)
{
    const std::optional<CreateImagesRequest> request = CreateImagesRequest::fromJson(json);
    if (!request) {
        reply = errorReply(QStringLiteral("1–100 görsel gerekli."));
        return;
    }
    Pdfium pdfium;
    if (!pdfium.bindPdfium()) {
        reply = errorReply(pdfium.errorMessage());
        return;
    }
    DocumentHandle document = wrapDocument(pdfium, pdfium.api().FPDF_CreateNewDocument());
    if (!document) {
        reply = errorReply(QStringLiteral("Yeni PDF oluşturulamadı."));
        return;
    }
    if (!addImagePages(reply, pdfium, document.get(), request->sources))
        return;
    saveNewPdf(reply, pdfium, document.get(), request->output);
}

} // namespace velk
