#include "PdfiumReadBack.h"

#include "pdfium/PdfiumDocument.h"
#include "support/TestPaths.h"

namespace velk::test {

namespace {

constexpr int kTextObject = 1;

QString objectText(const PdfiumFunctions& api, FPDF_PAGEOBJECT object, FPDF_TEXTPAGE textPage)
{
    const unsigned long bytes = api.FPDFTextObj_GetText(object, textPage, nullptr, 0);
    if (bytes < 2 || bytes % 2 != 0)
        return {};
    QList<FPDF_WCHAR> buffer(qsizetype(bytes / 2), 0);
    api.FPDFTextObj_GetText(object, textPage, buffer.data(), bytes);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), buffer.size() - 1);
}

TextObjectFacts facts(const PdfiumFunctions& api, FPDF_PAGEOBJECT object, FPDF_TEXTPAGE textPage, int index)
{
    TextObjectFacts fact;
    fact.index = index;
    fact.text = objectText(api, object, textPage);
    api.FPDFTextObj_GetFontSize(object, &fact.size);
    api.FPDFPageObj_GetMatrix(object, &fact.matrix);
    api.FPDFPageObj_GetFillColor(object, &fact.red, &fact.green, &fact.blue, &fact.alpha);
    fact.renderMode = api.FPDFTextObj_GetTextRenderMode(object);
    api.FPDFPageObj_GetBounds(object, &fact.bounds[0], &fact.bounds[1], &fact.bounds[2], &fact.bounds[3]);
    return fact;
}

} // namespace

PdfiumReadBack::PdfiumReadBack()
{
    m_pdfium.bindPdfium(velk::test::applicationDirectory());
}

DocumentHandle PdfiumReadBack::open(const QString& path) const
{
    QByteArray password;
    return loadPdfiumDocument(m_pdfium, path, password).document;
}

QList<TextObjectFacts> PdfiumReadBack::textObjects(const QString& path, int pageIndex) const
{
    const PdfiumFunctions& api = m_pdfium.api();
    const DocumentHandle document = open(path);
    const PageHandle page = wrapPage(m_pdfium, document ? api.FPDF_LoadPage(document.get(), pageIndex) : nullptr);
    const TextPageHandle textPage = wrapTextPage(m_pdfium, page ? api.FPDFText_LoadPage(page.get()) : nullptr);
    QList<TextObjectFacts> found;
    if (!textPage)
        return found;
    const int count = api.FPDFPage_CountObjects(page.get());
    for (int i = 0; i < count; ++i) {
        FPDF_PAGEOBJECT object = api.FPDFPage_GetObject(page.get(), i);
        if (api.FPDFPageObj_GetType(object) == kTextObject)
            found << facts(api, object, textPage.get(), i);
    }
    return found;
}

QString PdfiumReadBack::pageText(const QString& path, int pageIndex) const
{
    const PdfiumFunctions& api = m_pdfium.api();
    const DocumentHandle document = open(path);
    const PageHandle page = wrapPage(m_pdfium, document ? api.FPDF_LoadPage(document.get(), pageIndex) : nullptr);
    const TextPageHandle textPage = wrapTextPage(m_pdfium, page ? api.FPDFText_LoadPage(page.get()) : nullptr);
    if (!textPage)
        return {};
    const int count = api.FPDFText_CountChars(textPage.get());
    if (count <= 0)
        return {};
    QList<unsigned short> buffer(qsizetype(count) + 1, 0);
    const int written = api.FPDFText_GetText(textPage.get(), 0, count, buffer.data());
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), qMax(0, written - 1));
}

int PdfiumReadBack::objectCount(const QString& path, int pageIndex) const
{
    const PdfiumFunctions& api = m_pdfium.api();
    const DocumentHandle document = open(path);
    const PageHandle page = wrapPage(m_pdfium, document ? api.FPDF_LoadPage(document.get(), pageIndex) : nullptr);
    return page ? api.FPDFPage_CountObjects(page.get()) : -1;
}

int PdfiumReadBack::signatureCount(const QString& path) const
{
    const DocumentHandle document = open(path);
    return document ? m_pdfium.api().FPDF_GetSignatureCount(document.get()) : -2;
}

} // namespace velk::test
