#include "ProtectedDocument.h"

namespace velk {

bool isProtectedDocument(const Pdfium& pdfium, FPDF_DOCUMENT document)
{
    if (!pdfium.isBound())
        return true;
    const PdfiumFunctions& api = pdfium.api();
    // -1 (unreadable) is not 0 and so counts as signed.
    if (api.FPDF_GetSignatureCount(document) != 0)
        return true;
    if (api.FPDF_GetSecurityHandlerRevision(document) >= 0)
        return true;
    return api.FPDF_GetFormType(document) != 0;
}

} // namespace velk
