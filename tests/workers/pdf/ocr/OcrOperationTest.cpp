// "ocr" with the real Tesseract engine through the real worker in the real
// sandbox: the text layer of a scanned-looking page, its size, refusals of
// invalid requests, and the language files judged before the engine loads.
// The render size arithmetic is checked in-process.

#include "ocr/OcrGeometry.h"
#include "workers/pdf/pages/PageReadBack.h"
#include "workers/pdf/pages/PageRun.h"
#include "pdfium/PdfiumHandles.h"
#include "ScannedPdf.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const char kInvalid[] = "OCR isteği geçersiz.";

QJsonObject ocrRequest(const QString& path, int page, const QString& output)
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("ocr")},
                       {QStringLiteral("path"), path},
                       {QStringLiteral("page"), page},
                       {QStringLiteral("output"), output}};
}

} // namespace

class OcrOperationTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    PageReadBack m_readBack;
    Pdfium m_pdfium;
    QString m_scanned;

    // The first page's size in points; empty when unreadable.
    QSizeF firstPageSize(const QString& file)
    {
        const PdfiumFunctions& api = m_pdfium.api();
        DocumentHandle document = wrapDocument(m_pdfium, api.FPDF_LoadDocument(file.toUtf8().constData(), nullptr));
        double width = 0;
        double height = 0;
        if (!document || !api.FPDF_GetPageSizeByIndex(document.get(), 0, &width, &height))
            return {};
        return QSizeF(width, height);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_readBack.isBound());
        QVERIFY(m_pdfium.bindPdfium(velk::test::applicationDirectory()));
        m_scanned = path("taranmış.pdf");
        QVERIFY(writeScannedPdf(m_scanned, {QStringLiteral("Şanlıurfa'da ılık bir öğleden sonra"),
                                            QStringLiteral("The quick brown fox")}));
        QCOMPARE(m_readBack.pageTexts(m_scanned), QStringList({QString(), QString()}));
    }

    void renderSizeIsBounded_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("resolution");
        QTest::newRow("A4 at 300 dpi") << 595.276 << 841.89 << QSize(2481, 3508) << 300;
        QTest::newRow("12 megapixels") << 2000.0 << 2000.0 << QSize(3465, 3465) << 124;
        QTest::newRow("5,000-pixel long side") << 20.0 << 1400.0 << QSize(72, 5000) << 257;
        QTest::newRow("tiny page") << 0.1 << 0.1 << QSize(1, 1) << 300;
    }
    void renderSizeIsBounded()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QSize, pixels);
        QFETCH(int, resolution);
        const OcrRaster raster = ocrRaster(width, height);
        QCOMPARE(raster.pixels, pixels);
        QCOMPARE(raster.resolution, resolution);
    }

    void recognisedTextLayerCoversThePage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("Turkish") << 0 << QStringList{"Şanlıurfa'da", "ılık", "öğleden", "sonra"};
        // "tur+eng" reads this page's "quick" as "guick" (Turkish has no q);
        // the other words come through.
        QTest::newRow("English") << 1 << QStringList{"The", "brown", "fox"};
    }
    void recognisedTextLayerCoversThePage()
    {
        QFETCH(int, page);
        QFETCH(QStringList, words);
        const QString output = path(QStringLiteral("layer-%1.pdf").arg(page));
        const WorkerReply reply = runPagesSandboxed(ocrRequest(m_scanned, page, output));
        QCOMPARE(reply.error, QString());
        QCOMPARE(m_readBack.pageCount(output), 1);
        const QString text = m_readBack.pageTexts(output).value(0);
        for (const QString& word : words)
            QVERIFY2(text.contains(word), qPrintable(text));
        // 1,667 x 500 pixels at 300 dpi: the page's own 400 x 120 points.
        const QSizeF size = firstPageSize(output);
        QVERIFY(qAbs(size.width() - 400) < 0.5 && qAbs(size.height() - 120) < 0.5);
    }

    void pageWithoutTextGivesAnEmptyLayer()
    {
        QVERIFY(writeScannedPdf(path("boş.pdf"), {QString()}));
        const QString output = path("boş-katman.pdf");
        QCOMPARE(runPagesSandboxed(ocrRequest(path("boş.pdf"), 0, output)).error, QString());
        QCOMPARE(m_readBack.pageCount(output), 1);
        QCOMPARE(m_readBack.pageTexts(output), QStringList{QString()});
    }

    void invalidRequestsAreRefused_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("output");
        QTest::newRow("page -1") << -1 << "a.pdf";
        QTest::newRow("page past the end") << 2 << "b.pdf";
        QTest::newRow("upper-case suffix") << 0 << "c.PDF";
        QTest::newRow("no suffix") << 0 << "d";
        QTest::newRow("existing output") << 0 << "taranmış.pdf";
    }
    void invalidRequestsAreRefused()
    {
        QFETCH(int, page);
        QFETCH(QString, output);
        const WorkerReply reply = runPagesSandboxed(ocrRequest(m_scanned, page, path(output)));
        QCOMPARE(reply.error, QString::fromUtf8(kInvalid));
    }

    // An application directory with the worker and PDFium, one language file
    // and no Tesseract library: the missing file is reported, not the library.
    void missingLanguageFileFailsBeforeTesseractLoads()
    {
        QTemporaryDir application;
        QVERIFY(application.isValid());
        const QString from = applicationDirectory();
        QVERIFY(QFile::copy(from + "/velk-pdf-worker", application.filePath("velk-pdf-worker")));
        QVERIFY(QFile::copy(from + "/libpdfium.so", application.filePath("libpdfium.so")));
        QVERIFY(QDir(application.path()).mkdir("tessdata"));
        QVERIFY(QFile::copy(from + "/tessdata/tur.traineddata", application.filePath("tessdata/tur.traineddata")));
        const WorkerReply reply =
            runPdfWorker(ocrRequest(m_scanned, 0, path("yalnız-tur.pdf")), nullptr, 60000, application.path());
        QCOMPARE(reply.error, QStringLiteral("Türkçe/İngilizce OCR dil dosyaları bulunamadı."));
        QVERIFY(!QFile::exists(path("yalnız-tur.pdf")));
    }
};

QTEST_MAIN(OcrOperationTest)
#include "OcrOperationTest.moc"
