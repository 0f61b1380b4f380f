#include "PageReadBack.h"

#include "pdfium/PdfiumDocument.h"
#include "support/TestPaths.h"

namespace velk::test {

PageReadBack::PageReadBack()
{
    m_pdfium.bindPdfium(velk::test::applicationDirectory());
}

DocumentHandle PageReadBack::open(const QString& path) const
{
    QByteArray noPassword;
    return loadPdfiumDocument(m_pdfium, path, noPassword).document;
}

int PageReadBack::pageCount(const QString& path) const
{
    const DocumentHandle document = open(path);
    return document ? m_pdfium.api().FPDF_GetPageCount(document.get()) : -1;
}

QStringList PageReadBack::pageTexts(const QString& path) const
{
    const PdfiumFunctions& api = m_pdfium.api();
    const DocumentHandle document = open(path);
    QStringList texts;
    const int count = document ? api.FPDF_GetPageCount(document.get()) : 0;
    for (int index = 0; index < count; ++index) {
        const PageHandle page = wrapPage(m_pdfium, api.FPDF_LoadPage(document.get(), index));
        const TextPageHandle text = wrapTextPage(m_pdfium, page ? api.FPDFText_LoadPage(page.get()) : nullptr);
        const int characters = text ? api.FPDFText_CountChars(text.get()) : 0;
        QList<unsigned short> buffer(characters + 1, 0);
        if (characters > 0)
            api.FPDFText_GetText(text.get(), 0, characters, buffer.data());
        texts.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), characters)
                         .trimmed());
    }
    return texts;
}

QList<int> PageReadBack::rotations(const QString& path) const
{
    const PdfiumFunctions& api = m_pdfium.api();
    const DocumentHandle document = open(path);
    QList<int> angles;
    const int count = document ? api.FPDF_GetPageCount(document.get()) : 0;
    for (int index = 0; index < count; ++index) {
        const PageHandle page = wrapPage(m_pdfium, api.FPDF_LoadPage(document.get(), index));
        // PDFium counts quarter turns.
        angles.append(page ? api.FPDFPage_GetRotation(page.get()) * 90 : -1);
    }
    return angles;
}

} // namespace velk::test
