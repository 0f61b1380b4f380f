#include "signatures/PrepareSignatureOperation.h"

#include "ErrorReply.h"
#include "pdfium/Pdfium.h"
#include "pdfium/PdfiumDocument.h"
#include "qpdf/QpdfLimits.h"
#include "signatures/SignatureLimits.h"
#include "signatures/SignatureReservation.h"
#include "worker/contract/operations/SignaturePreparationContract.h"

#include <QFileInfo>

#include <cmath>
#include <optional>

namespace velk {

namespace {

const QString kInvalidInput = QStringLiteral("İmza girdisi geçersiz veya 128 MiB sınırını aşıyor.");
const QString kOpenFailed = QStringLiteral("İmzalanacak PDF açılamadı.");
const QString kNotSignable = QStringLiteral("Şifreli, XFA içeren veya 64 imza sınırına ulaşmış belge imzalanamaz.");
const QString kBadPage = QStringLiteral("İmza sayfası geçersiz.");
const QString kPageUnloadable = QStringLiteral("İmza sayfası yüklenemedi.");
const QString kPageUnsuitable = QStringLiteral(
    "Görünür imza için döndürülmemiş ve en az 300 × 140 pt sayfa gerekli; görünmez imzayı kullanabilirsiniz.");

std::optional<ReservationRequest> readRequest(const QJsonObject& json)
{
    const std::optional<PrepareSignatureRequest> request = PrepareSignatureRequest::fromJson(json);
    if (!request)
        return std::nullopt;
    // The files the request names: the input a regular file within the
    // bound, the output a new absolute path.
    const QFileInfo input(request->path);
    const QFileInfo target(request->output);
    if (request->path.contains(QChar(0)) || request->output.contains(QChar(0)) || !input.isFile()
        || input.size() > QpdfLimits::kMaxIncrementalBytes || !target.isAbsolute() || target.exists()
        || target.isSymLink())
        return std::nullopt;
    return ReservationRequest{request->path,    request->output, request->page,  request->visible,
                              request->documentTimestamp,        request->reason, request->signer,
                              "[0 0 0 0]",      QDateTime::currentDateTime()};
}

QByteArray coordinate(float value)
{
    return QByteArray::number(double(value), 'g', 6);
}

// Empty when the page takes the seal; the rectangle goes into request.
QString placeSeal(const Pdfium& pdfium, FPDF_DOCUMENT document, ReservationRequest& request)
{
    const PageHandle page = wrapPage(pdfium, pdfium.api().FPDF_LoadPage(document, request.page));
    if (!page)
        return kPageUnloadable;
    float left = 0, bottom = 0, right = 0, top = 0;
    const bool box = pdfium.api().FPDFPage_GetCropBox(page.get(), &left, &bottom, &right, &top)
                     || pdfium.api().FPDFPage_GetMediaBox(page.get(), &left, &bottom, &right, &top);
    const bool finite = std::isfinite(left) && std::isfinite(bottom) && std::isfinite(right) && std::isfinite(top);
    if (pdfium.api().FPDFPage_GetRotation(page.get()) != 0 || !box || !finite
        || std::fabs(right - left) < SignatureLimits::kMinSealPageWidth
        || std::fabs(top - bottom) < SignatureLimits::kMinSealPageHeight)
        return kPageUnsuitable;
    const float x = std::min(left, right);
    const float y = std::min(bottom, top);
    request.rectangle = "[" + coordinate(x + 24.0f) + ' ' + coordinate(y + 24.0f) + ' ' + coordinate(x + 284.0f) + ' '
                        + coordinate(y + 88.0f) + "]";
    return {};
}

// PDFium's view of the document: signable, the page present and, for a
// seal, suitable. The document is closed before qpdf reads the file.
QString checkWithPdfium(ReservationRequest& request)
{
    Pdfium pdfium;
    if (!pdfium.bindPdfium())
        return pdfium.errorMessage();
    QByteArray noPassword;
    const OpenedDocument opened = loadPdfiumDocument(pdfium, request.path, noPassword);
    if (!opened.document)
        return kOpenFailed;
    FPDF_DOCUMENT document = opened.document.get();
    if (pdfium.api().FPDF_GetSecurityHandlerRevision(document) >= 0
        || pdfium.api().FPDF_GetSignatureCount(document) >= SignatureLimits::kMaxSignatures
        || pdfium.api().FPDF_GetFormType(document) > 1)
        return kNotSignable;
    if (request.page < 0 || request.page >= pdfium.api().FPDF_GetPageCount(document))
        return kBadPage;
    return request.visible ? placeSeal(pdfium, document, request) : QString();
}

} // namespace

void PrepareSignatureOperation::run(QJsonObject& reply, const QJsonObject& request)
{
    std::optional<ReservationRequest> reservation = readRequest(request);
    if (!reservation) {
        reply = errorReply(kInvalidInput);
        return;
    }
    QString error = checkWithPdfium(*reservation);
    if (error.isEmpty())
        error = SignatureReservation::write(*reservation);
    reply = error.isEmpty() ? QJsonObject{{QStringLiteral("ok"), true}} : errorReply(error);
}

} // namespace velk
