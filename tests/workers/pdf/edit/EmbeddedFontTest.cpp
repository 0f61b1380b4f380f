// The font of inserted text is reachable from the statically linked worker
// core: the compiled-in resource holds exactly Debian's Roboto Bold, and
// PDFium accepts it as a CID TrueType font into a document.

#include "edit/EmbeddedFont.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QTest>

using namespace velk;

class EmbeddedFontTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resourceHoldsRobotoBold()
    {
        QFile original(QStringLiteral(VELK_ROBOTO_BOLD));
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray font = EmbeddedFont::read();
        QVERIFY(!font.isEmpty());
        QCOMPARE(font, original.readAll());
    }

    void pdfiumLoadsItIntoADocument()
    {
        Pdfium pdfium;
        QVERIFY(pdfium.bindPdfium(velk::test::applicationDirectory()));
        const DocumentHandle document = wrapDocument(pdfium, pdfium.api().FPDF_CreateNewDocument());
        QVERIFY(document);
        const FontHandle font = EmbeddedFont::load(pdfium, document.get(), EmbeddedFont::read());
        QVERIFY(font);
        QVERIFY(!EmbeddedFont::load(pdfium, document.get(), QByteArray()));
    }
};

QTEST_GUILESS_MAIN(EmbeddedFontTest)
#include "EmbeddedFontTest.moc"
