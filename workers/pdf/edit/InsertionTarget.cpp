#include "edit/InsertionTarget.h"

#include "ErrorReply.h"
#include "pdfium/ProtectedDocument.h"
#include "pdfium/SaveNewPdf.h"

#include "worker/contract/operations/InsertionContract.h"

namespace velk {

namespace {

// The request's fields that hold for this document and a fresh output.
std::optional<InsertionRequest> readFields(const QJsonObject& json, int pageCount)
{
    std::optional<InsertionRequest> fields = InsertionRequest::fromJson(json);
    if (!fields || fields->page >= pageCount || !isFreshAbsolutePath(fields->output))
        return std::nullopt;
    return fields;
}

std::optional<InsertionTarget> fail(QJsonObject& reply, const QString& message)
{
    reply = errorReply(message);
    return std::nullopt;
}

} // namespace

std::optional<InsertionTarget> InsertionTarget::prepare(QJsonObject& reply, const Pdfium& pdfium,
                                                        FPDF_DOCUMENT document, const QJsonObject& request)
{
    if (isProtectedDocument(pdfium, document))
        return fail(reply,
                    QStringLiteral("Bu sürüm imzalı, şifreli veya etkileşimli form "
                                   "içeren PDF'leri değiştirmez."));
    const std::optional<InsertionRequest> fields = readFields(request, pdfium.api().FPDF_GetPageCount(document));
    if (!fields)
        return fail(reply, QStringLiteral("Metin/not isteği geçersiz."));

    InsertionTarget target;
    target.text = fields->text;
    target.size = float(fields->size);
    target.output = fields->output;
    target.page = wrapPage(pdfium, pdfium.api().FPDF_LoadPage(document, fields->page));
    if (!target.page)
        return fail(reply, QStringLiteral("Düzenlenecek sayfa yüklenemedi."));
    const std::optional<PagePoint> point = PagePlacement::toPage(pdfium, target.page.get(), fields->x, fields->y);
    if (!point)
        return fail(reply, QStringLiteral("Sayfa koordinatı dönüştürülemedi."));
    const std::optional<PageBox> box = PagePlacement::box(pdfium, target.page.get());
    if (!box)
        return fail(reply, QStringLiteral("Sayfa sınırları okunamadı."));
    target.point = *point;
    target.box = *box;
    return target;
}

} // namespace velk
