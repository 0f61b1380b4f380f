#include "InspectOperation.h"

#include "ErrorReply.h"
#include "PageSize.h"

#include <QJsonArray>

#include <cstdint>

namespace velk {

void InspectOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject&)
{
    const PdfiumFunctions& api = pdfium.api();
    const int pageCount = api.FPDF_GetPageCount(document);
    QJsonArray pages;
    for (int index = 0; index < pageCount; ++index) {
        const std::optional<PageSize> size = PageSize::read(pdfium, document, index);
        if (!size) {
            reply = errorReply(QStringLiteral("PDF sayfa ölçüleri geçersiz."), 0);
            return;
        }
        pages.append(QJsonArray{size->width, size->height});
    }
    // PDFium hands the 32 permission bits over in an unsigned long; only
    // those 32 bits mean anything, read as an unsigned number.
    const std::uint32_t permissions = std::uint32_t(api.FPDF_GetDocPermissions(document));
    reply = QJsonObject{{QStringLiteral("ok"), true},
                        {QStringLiteral("pages"), pages},
                        {QStringLiteral("signatures"), api.FPDF_GetSignatureCount(document)},
                        {QStringLiteral("encrypted"), api.FPDF_GetSecurityHandlerRevision(document) >= 0},
                        {QStringLiteral("permissions"), qint64(permissions)}};
}

} // namespace velk
