#include "InspectOperation.h"

#include "ErrorReply.h"
#include "PageSize.h"
#include "qpdf/Qpdf.h"
#include "signatures/SignedFieldWalk.h"

#include <QJsonArray>

#include <cstdint>

namespace velk {

namespace {

// Signed signature fields anywhere in the field tree; unsigned ones are
// offers to sign. PDFium's count (top-level fields, signed or not) stands
// in when qpdf cannot read the file, so that a signed document never
// reads as unsigned.
int signatureCount(const PdfiumFunctions& api, FPDF_DOCUMENT document, const QJsonObject& request)
{
    try {
        Qpdf qpdf;
        if (qpdf.bindQpdf()) {
            qpdf.readFile(request.value(QStringLiteral("path")).toString(),
                          request.value(QStringLiteral("password")).toString().toUtf8());
            return SignedFieldWalk::count(qpdf, qpdf.root());
        }
    } catch (const QpdfFailure&) {
    }
    return api.FPDF_GetSignatureCount(document);
}

} // namespace

void InspectOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                           const QJsonObject& request)
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
                        {QStringLiteral("signatures"), signatureCount(api, document, request)},
                        {QStringLiteral("encrypted"), api.FPDF_GetSecurityHandlerRevision(document) >= 0},
                        {QStringLiteral("permissions"), qint64(permissions)}};
}

} // namespace velk
