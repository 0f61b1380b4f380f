#include "FixtureDocument.h"

#include "document/ui/PdfCanvas.h"
#include "document/core/PrivateDirectory.h"

#include <QTest>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velk::test {

PdfPageSpec pageOfSize(double width, double height)
{
    PdfPageSpec page;
    page.width = width;
    page.height = height;
    return page;
}

PdfDocumentPtr documentWithBytes(const QByteArray& bytes, const QList<QSizeF>& pageSizes)
{
    auto document = std::make_shared<PdfDocument>();
    document->workspace = createPrivateDirectory(QStringLiteral("velk-pdf-"));
    if (!document->workspace)
        return nullptr;
    document->workingPath = document->workspace->filePath(QStringLiteral("document.pdf"));
    document->sourcePath = document->workingPath;
    QFile file(document->workingPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return nullptr;
    document->pageSizes = pageSizes;
    return document;
}

PdfDocumentPtr fixtureDocument(const PdfFixtureSpec& spec, const FixtureFlags& flags)
{
    QList<QSizeF> sizes;
    for (const PdfPageSpec& page : spec.pages)
        sizes.append(QSizeF(page.width, page.height));
    const PdfDocumentPtr made = documentWithBytes(pdfBytes(spec), sizes);
    if (!made)
        return nullptr;
    auto document = std::make_shared<PdfDocument>(*made);
    document->signatureCount = flags.signatureCount;
    // The fixture's signatures stand for signed fields.
    document->protection.signedDocument = flags.signatureCount != 0;
    document->protection.encrypted = flags.encrypted;
    return document;
}

void showWithViewport(PdfCanvas& canvas, const QSize& viewport)
{
    canvas.resize(viewport);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    canvas.resize(viewport + (canvas.size() - canvas.viewport()->size()));
    QTRY_COMPARE(canvas.viewport()->size(), viewport);
}

} // namespace velk::test
