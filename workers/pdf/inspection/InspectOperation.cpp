#include "inspection/InspectOperation.h"

#include "ErrorReply.h"
#include "inspection/PageSize.h"
#include "qpdf/Qpdf.h"
#include "signatures/SignedFieldWalk.h"

#include "worker/contract/operations/InspectContract.h"

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
    // One count for the reply and the protection facts, so "signatures"
    // and "signed" never disagree.
    inspected.signatureCount = signatureCount(api, document, request);
    inspected.protection = DocumentProtection::decide(inspected.signatureCount,
                                                      api.FPDF_GetSecurityHandlerRevision(document),
                                                      api.FPDF_GetFormType(document));
    // PDFium hands the 32 permission bits over in an unsigned long; only
    // those 32 bits mean anything, read as an unsigned number.
    inspected.permissions = qint64(std::uint32_t(api.FPDF_GetDocPermissions(document)));
    reply = inspected.toJson();
}

} // namespace velk
