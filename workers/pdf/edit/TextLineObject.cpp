#include "edit/TextLineObject.h"

namespace velk::TextLineObject {

PageObjectHandle create(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_FONT font, float size, const QString& line,
                        const Placement& placement)
{
    const PdfiumFunctions& api = pdfium.api();
    PageObjectHandle object = wrapPageObject(pdfium, api.FPDFPageObj_CreateTextObj(document, font, size));
    if (!object)
        return object;
    // utf16() is zero-terminated, as PDFium reads it.
    if (!api.FPDFText_SetText(object.get(), reinterpret_cast<FPDF_WIDESTRING>(line.utf16())))
        return wrapPageObject(pdfium, nullptr);
    api.FPDFPageObj_Transform(object.get(), placement.a, placement.b, placement.c, placement.d, placement.e,
                              placement.f);
    return object;
}

} // namespace velk::TextLineObject
