#include "pdfium/ProtectedDocument.h"

namespace velk {

namespace {

// More signatures than a form may list fields are not read one by one.
constexpr int kMaxSignatures = 10000;

} // namespace

int signedFieldCount(const Pdfium& pdfium, FPDF_DOCUMENT document)
{
    const PdfiumFunctions& api = pdfium.api();
    const int count = api.FPDF_GetSignatureCount(document);
    if (count < 0 || count > kMaxSignatures)
        return -1;
    int signedFields = 0;
    for (int index = 0; index < count; ++index) {
        const FPDF_SIGNATURE signature = api.FPDF_GetSignatureObject(document, index);
        if (!signature)
            return -1;
        if (api.FPDFSignatureObj_GetContents(signature, nullptr, 0) != 0)
            ++signedFields;
    }
    return signedFields;
}

DocumentProtection readProtection(const Pdfium& pdfium, FPDF_DOCUMENT document)
{
    if (!pdfium.isBound())
        return DocumentProtection{true, true, true};
    const PdfiumFunctions& api = pdfium.api();
    return DocumentProtection::decide(signedFieldCount(pdfium, document), api.FPDF_GetSecurityHandlerRevision(document),
                                      api.FPDF_GetFormType(document));
}

bool isProtectedDocument(const Pdfium& pdfium, FPDF_DOCUMENT document)
{
    return !readProtection(pdfium, document).allowsContentEdits();
}

} // namespace velk
