#include "InspectOperation.h"

#include "ErrorReply.h"
#include "PageSize.h"
#include "ProtectedDocument.h"

#include "worker/contract/operations/InspectContract.h"

#include <cstdint>

namespace velk {

void InspectOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject&)
{
    const PdfiumFunctions& api = pdfium.api();
    const int pageCount = api.FPDF_GetPageCount(document);
    InspectReply inspected;
    inspected.pageSizes.reserve(pageCount);
    for (int index = 0; index < pageCount; ++index) {
        const std::optional<PageSize> size = PageSize::read(pdfium, document, index);
        if (!size) {
            reply = errorReply(QStringLiteral("PDF sayfa ölçüleri geçersiz."), 0);
            return;
        }
        inspected.pageSizes.append(QSizeF(size->width, size->height));
    }
    inspected.signatureCount = api.FPDF_GetSignatureCount(document);
    inspected.protection = readProtection(pdfium, document);
    // PDFium hands the 32 permission bits over in an unsigned long; only
    // those 32 bits mean anything, read as an unsigned number.
    inspected.permissions = qint64(std::uint32_t(api.FPDF_GetDocPermissions(document)));
    reply = inspected.toJson();
}

} // namespace velk
