#include "ocr/OcrOperation.h"

#include "ErrorReply.h"
#include "ocr/OcrGeometry.h"
#include "ocr/OcrPageImage.h"
#include "pdfium/ProtectedDocument.h"
#include "pdfium/SaveNewPdf.h"
#include "ocr/TesseractApi.h"

#include "worker/contract/operations/OcrContract.h"

#include <QFile>

#include <cmath>
#include <memory>

namespace velk {

namespace {

constexpr char kLanguages[] = "tur+eng";
constexpr char kTitle[] = "Velk PDF OCR";

struct EngineDeleter {
    void (*release)(TessBaseApiHandle*) = nullptr;
    void operator()(TessBaseApiHandle* engine) const { release(engine); }
};
struct RendererDeleter {
    void (*release)(TessRendererHandle*) = nullptr;
    void operator()(TessRendererHandle* renderer) const { release(renderer); }
};
using Engine = std::unique_ptr<TessBaseApiHandle, EngineDeleter>;
using Renderer = std::unique_ptr<TessRendererHandle, RendererDeleter>;

bool isValidOutput(const QString& output)
{
    return isFreshAbsolutePath(output) && output.section(QLatin1Char('.'), -1) == QLatin1String("pdf")
        && output.contains(QLatin1Char('.'));
}

bool languageFilesPresent()
{
    const QString directory = TesseractApi::dataDirectory();
    return QFile::exists(directory + QStringLiteral("/tur.traineddata"))
        && QFile::exists(directory + QStringLiteral("/eng.traineddata"));
}

QString bindFailure(TesseractApi::Outcome outcome)
{
    return outcome == TesseractApi::Outcome::LibraryMissing ? QStringLiteral("Tesseract OCR motoru yüklenemedi.")
                                                            : QStringLiteral("Tesseract API sürümü uyumsuz.");
}

// Writes the engine's result as a text-only one-page PDF. Empty on success.
QString writeTextLayer(const TesseractFunctions& tess, TessBaseApiHandle* engine, const QString& output)
{
    // The renderer appends ".pdf" to the base name itself.
    const QByteArray base = output.left(output.size() - 4).toUtf8();
    const QByteArray data = TesseractApi::dataDirectory().toUtf8();
    Renderer renderer(tess.TessPDFRendererCreate(base.constData(), data.constData(), 1),
                      {tess.TessDeleteResultRenderer});
    if (!renderer || !tess.TessResultRendererBeginDocument(renderer.get(), kTitle))
        return QStringLiteral("OCR PDF yazıcısı başlatılamadı.");
    if (!tess.TessResultRendererAddImage(renderer.get(), engine))
        return QStringLiteral("OCR sayfası PDF'ye yazılamadı.");
    if (!tess.TessResultRendererEndDocument(renderer.get()))
        return QStringLiteral("OCR PDF yazımı tamamlanamadı.");
    renderer.reset();
    if (!QFile::exists(output))
        return QStringLiteral("OCR çıktısı bulunamadı.");
    return {};
}

// Renders, recognises and writes the page with an initialised engine.
QString recognisePage(const Pdfium& pdfium, FPDF_DOCUMENT document, int page, const TesseractFunctions& tess,
                      TessBaseApiHandle* engine, const QString& output)
{
    double width = 0;
    double height = 0;
    if (!pdfium.api().FPDF_GetPageSizeByIndex(document, page, &width, &height) || !std::isfinite(width)
        || !std::isfinite(height) || width <= 0 || height <= 0)
        return QStringLiteral("OCR sayfa ölçüleri okunamadı.");
    const OcrRaster raster = ocrRaster(width, height);
    const OcrPageImage rendered = renderOcrPage(pdfium, document, page, raster);
    if (rendered.image.isNull())
        return rendered.error;
    const QImage& image = rendered.image;
    tess.TessBaseAPISetImage(engine, image.constBits(), image.width(), image.height(), 3, int(image.bytesPerLine()));
    tess.TessBaseAPISetSourceResolution(engine, raster.resolution);
    if (tess.TessBaseAPIRecognize(engine, nullptr) != 0)
        return QStringLiteral("OCR metin tanıma tamamlanamadı.");
    return writeTextLayer(tess, engine, output);
}

QString runOcr(const Pdfium& pdfium, FPDF_DOCUMENT document, int page, const QString& output)
{
    if (isProtectedDocument(pdfium, document))
        return QStringLiteral("İmzalı, şifreli veya etkileşimli form içeren PDF'lerde bu OCR akışı kullanılmaz.");
    // Judged before the engine is loaded at all.
    if (!languageFilesPresent())
        return QStringLiteral("Türkçe/İngilizce OCR dil dosyaları bulunamadı.");
    TesseractApi api;
    const TesseractApi::Outcome bound = api.bind();
    if (bound != TesseractApi::Outcome::Loaded)
        return bindFailure(bound);
    const TesseractFunctions& tess = api.functions();
    Engine engine(tess.TessBaseAPICreate(), {tess.TessBaseAPIDelete});
    const QByteArray data = TesseractApi::dataDirectory().toUtf8();
    if (!engine || tess.TessBaseAPIInit3(engine.get(), data.constData(), kLanguages) != 0)
        return QStringLiteral("OCR dil modelleri başlatılamadı.");
    return recognisePage(pdfium, document, page, tess, engine.get(), output);
}

} // namespace

void OcrOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& json)
{
    const OcrRequest request = OcrRequest::fromJson(json);
    const qint64 page = request.page;
    const QString& output = request.output;
    if (page < 0 || page >= pdfium.api().FPDF_GetPageCount(document) || !isValidOutput(output)) {
        reply = errorReply(QStringLiteral("OCR isteği geçersiz."));
        return;
    }
    const QString error = runOcr(pdfium, document, int(page), output);
    reply = error.isEmpty() ? QJsonObject{{QStringLiteral("ok"), true}} : errorReply(error);
}

} // namespace velk
