#include "edit/InsertionTarget.h"

#include "edit/EditField.h"
#include "edit/EditLimits.h"
#include "ErrorReply.h"
#include "pdfium/ProtectedDocument.h"
#include "pdfium/SaveNewPdf.h"
#include "edit/TextLines.h"

#include "worker/contract/JsonFields.h"
#include "worker/contract/SharedLimits.h"

#include <cmath>

namespace velk {

namespace {

struct InsertionFields {
    int page = -1;
    QString text;
    double x = -1;
    double y = -1;
    float size = 0;
    QString output;
};

bool isNormalised(double value)
{
    return std::isfinite(value) && value >= 0.0 && value <= 1.0;
}

// The size is compared after conversion to single precision; only a value
// that float can hold is converted at all.
std::optional<float> fontSize(double requested)
{
    if (!std::isfinite(requested) || std::fabs(requested) > double(EditLimits::kMaxInsertFontSize) * 2)
        return std::nullopt;
    const float size = float(requested);
    if (size < EditLimits::kMinInsertFontSize || size > EditLimits::kMaxInsertFontSize)
        return std::nullopt;
    return size;
}

std::optional<InsertionFields> readFields(const QJsonObject& request, int pageCount)
{
    InsertionFields fields;
    const qint64 page = JsonFields::index(request, QStringLiteral("page"), SharedLimits::kMaxPageIndex);
    fields.text = EditField::string(request, QStringLiteral("text"));
    fields.x = EditField::number(request, QStringLiteral("x"), -1);
    fields.y = EditField::number(request, QStringLiteral("y"), -1);
    const std::optional<float> size =
        fontSize(EditField::number(request, QStringLiteral("size"), EditLimits::kDefaultInsertFontSize));
    fields.output = EditField::string(request, QStringLiteral("output"));
    if (page < 0 || page >= pageCount || !TextLines::isUsable(fields.text) || !isNormalised(fields.x)
        || !isNormalised(fields.y) || !size || !isFreshAbsolutePath(fields.output))
        return std::nullopt;
    fields.page = int(page);
    fields.size = *size;
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
    const std::optional<InsertionFields> fields = readFields(request, pdfium.api().FPDF_GetPageCount(document));
    if (!fields)
        return fail(reply, QStringLiteral("Metin/not isteği geçersiz."));

    InsertionTarget target;
    target.text = fields->text;
    target.size = fields->size;
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
