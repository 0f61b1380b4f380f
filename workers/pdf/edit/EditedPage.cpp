#include "edit/EditedPage.h"

#include "edit/EditLimits.h"
#include "ErrorReply.h"
#include "pdfium/ProtectedDocument.h"

namespace velk {

namespace {

std::optional<EditedPage> fail(QJsonObject& reply, const QString& message)
{
    reply = errorReply(message);
    return std::nullopt;
}

} // namespace

std::optional<EditedPage> EditedPage::open(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                           qint64 index)
{
    const PdfiumFunctions& api = pdfium.api();
    if (index < 0 || index >= api.FPDF_GetPageCount(document))
        return fail(reply, QStringLiteral("Sayfa numarası geçersiz."));
    EditedPage edited;
    edited.page = wrapPage(pdfium, api.FPDF_LoadPage(document, int(index)));
    if (!edited.page)
        return fail(reply, QStringLiteral("Sayfa açılamadı."));
    edited.objectCount = api.FPDFPage_CountObjects(edited.page.get());
    if (edited.objectCount < 0 || edited.objectCount > EditLimits::kMaxPageObjects)
        return fail(reply, QStringLiteral("Sayfa nesne sınırı aşıldı."));
    return edited;
}

std::optional<EditedPage> EditedPage::openForWriting(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                                     qint64 pageIndex)
{
    std::optional<EditedPage> edited = open(reply, pdfium, document, pageIndex);
    if (edited && isProtectedDocument(pdfium, document))
        return fail(reply, QStringLiteral("İmzalı, şifreli veya form içeren belgelerde bu düzenleme yapılmaz."));
    return edited;
}

} // namespace velk
