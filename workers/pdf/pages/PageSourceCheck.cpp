#include "pages/PageSourceCheck.h"

#include "PdfWorkerLimits.h"
#include "pdfium/PdfiumDocument.h"
#include "pdfium/ProtectedDocument.h"

#include <QFileInfo>

namespace velk {

bool PageSourceCheck::isReadableSource(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const QFileInfo info(path);
    return info.isFile() && info.size() <= PdfWorkerLimits::kMaxPdfFileBytes;
}

std::optional<PageSourceFacts> PageSourceCheck::read(const Pdfium& pdfium, const QString& path)
{
    QByteArray noPassword;
    const OpenedDocument opened = loadPdfiumDocument(pdfium, path, noPassword);
    if (!opened.document)
        return std::nullopt;
    const PdfiumFunctions& api = pdfium.api();
    FPDF_DOCUMENT document = opened.document.get();
    PageSourceFacts facts;
    facts.pageCount = api.FPDF_GetPageCount(document);
    facts.protection = readProtection(pdfium, document);
    return facts;
}

} // namespace velk
