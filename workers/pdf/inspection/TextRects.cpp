#include "inspection/TextRects.h"

#include "inspection/PageDisplay.h"
#include "pdfium/PdfiumHandles.h"

#include "worker/contract/SharedLimits.h"

#include <algorithm>

namespace velk {

namespace {

// PDFium counts text positions in whole code points: a character beyond
// the basic plane is two UTF-16 units here and one position there.
int codePointIndex(const QString& text, qsizetype unitIndex)
{
    int index = 0;
    for (qsizetype unit = 0; unit < unitIndex && unit < text.size(); ++unit) {
        if (!text.at(unit).isLowSurrogate())
            ++index;
    }
    return index;
}

} // namespace

QList<QRectF> TextRects::forRun(const Pdfium& pdfium, FPDF_DOCUMENT document, int pageIndex, const QString& text,
                                qsizetype start, qsizetype length)
{
    const PdfiumFunctions& api = pdfium.api();
    const std::optional<PageSize> size = PageSize::read(pdfium, document, pageIndex);
    if (!size || start < 0 || length < 1 || start + length > text.size())
        return {};
    const PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, pageIndex));
    if (!page)
        return {};
    const TextPageHandle textPage = wrapTextPage(pdfium, api.FPDFText_LoadPage(page.get()));
    if (!textPage)
        return {};
    const int count = api.FPDFText_CountChars(textPage.get());
    const int first = api.FPDFText_GetCharIndexFromTextIndex(textPage.get(), codePointIndex(text, start));
    const int last =
        api.FPDFText_GetCharIndexFromTextIndex(textPage.get(), codePointIndex(text, start + length - 1));
    if (first < 0 || last < first || last >= count)
        return {};
    const int rectCount = std::min(api.FPDFText_CountRects(textPage.get(), first, last - first + 1),
                                   SharedLimits::kMaxHitRects);
    const PageDisplay display(pdfium, page.get(), *size);
    QList<QRectF> rects;
    for (int index = 0; index < rectCount; ++index) {
        double left = 0, top = 0, right = 0, bottom = 0;
        if (!api.FPDFText_GetRect(textPage.get(), index, &left, &top, &right, &bottom))
            continue;
        if (const std::optional<QRectF> rect = display.map(left, top, right, bottom))
            rects.append(*rect);
    }
    return rects;
}

} // namespace velk
