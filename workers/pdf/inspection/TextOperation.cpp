#include "inspection/TextOperation.h"

#include "ErrorReply.h"
#include "inspection/PageDisplay.h"
#include "inspection/PageSize.h"
#include "pdfium/PdfiumHandles.h"

#include "worker/contract/SharedLimits.h"
#include "worker/contract/operations/TextContract.h"

#include <QList>

#include <algorithm>

namespace velk {

namespace {

QString boundedText(const Pdfium& pdfium, FPDF_DOCUMENT document, int pageIndex, const QRectF& area)
{
    const PdfiumFunctions& api = pdfium.api();
    const std::optional<PageSize> size = PageSize::read(pdfium, document, pageIndex);
    const PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, pageIndex));
    if (!size || !page)
        return {};
    const TextPageHandle textPage = wrapTextPage(pdfium, api.FPDFText_LoadPage(page.get()));
    if (!textPage)
        return {};
    const PageDisplay display(pdfium, page.get(), *size);
    const QRectF onPage = area.intersected(QRectF(0, 0, size->width, size->height));
    const std::optional<QPointF> a = display.unmapPoint(onPage.topLeft());
    const std::optional<QPointF> b = display.unmapPoint(onPage.bottomRight());
    if (onPage.isEmpty() || !a || !b)
        return {};
    const double left = std::min(a->x(), b->x());
    const double right = std::max(a->x(), b->x());
    const double bottom = std::min(a->y(), b->y());
    const double top = std::max(a->y(), b->y());
    // First the length without a buffer, then the text with room for its
    // terminating zero.
    const int length = api.FPDFText_GetBoundedText(textPage.get(), left, top, right, bottom, nullptr, 0);
    if (length < 1 || length > SharedLimits::kMaxSelectionUnits)
        return {};
    QList<unsigned short> buffer(qsizetype(length) + 1, 0);
    const int written = api.FPDFText_GetBoundedText(textPage.get(), left, top, right, bottom, buffer.data(),
                                                    length + 1);
    if (written < 1 || written > length + 1)
        return {};
    qsizetype units = std::min(written, length);
    while (units > 0 && buffer.at(units - 1) == 0)
        --units;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), units);
}

} // namespace

void TextOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& json)
{
    const std::optional<TextRequest> request = TextRequest::fromJson(json);
    if (!request) {
        reply = errorReply(QStringLiteral("Seçim alanı geçersiz."), 0);
        return;
    }
    if (request->page >= pdfium.api().FPDF_GetPageCount(document)) {
        reply = errorReply(QStringLiteral("Sayfa numarası geçersiz."), 0);
        return;
    }
    reply = TextReply{boundedText(pdfium, document, request->page, request->area)}.toJson();
}

} // namespace velk
