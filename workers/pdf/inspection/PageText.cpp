#include "inspection/PageText.h"

#include "inspection/InspectionLimits.h"
#include "pdfium/PdfiumHandles.h"

#include <QList>

namespace velk {

QString PageText::read(const Pdfium& pdfium, FPDF_DOCUMENT document, int index)
{
    const PdfiumFunctions& api = pdfium.api();
    const PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, index));
    if (!page)
        return {};
    const TextPageHandle textPage = wrapTextPage(pdfium, api.FPDFText_LoadPage(page.get()));
    if (!textPage)
        return {};
    const int count = api.FPDFText_CountChars(textPage.get());
    if (count < 1 || count > InspectionLimits::kMaxPageTextChars)
        return {};
    // PDFium writes count units and a terminating zero.
    QList<unsigned short> buffer(qsizetype(count) + 1, 0);
    const int written = api.FPDFText_GetText(textPage.get(), 0, count, buffer.data());
    if (written < 1 || written > count + 1)
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), written - 1);
}

} // namespace velk
