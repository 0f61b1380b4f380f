// "createImages" through the real worker in the real sandbox: formats by
// content, the pixel and count bounds, the page geometry and EXIF
// orientation, read back in-process with PDFium.

#include "ImageFiles.h"
#include "workers/pdf/pages/PageRun.h"
#include "pdfium/PdfiumHandles.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const char kOnlyThree[] = "Yalnız PNG, JPEG ve BMP desteklenir.";
const char kPixels[] = "Görsel 20 megapiksel sınırını aşıyor veya boyutu geçersiz.";
const char kCount[] = "1–100 görsel gerekli.";

struct Bounds {
    float left = 0, bottom = 0, right = 0, top = 0;
};

QJsonObject createRequest(const QStringList& paths, const QString& output)
{
    QJsonArray sources;
    for (const QString& path : paths)
        sources.append(QJsonObject{{QStringLiteral("path"), path}});
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("createImages")},
                       {QStringLiteral("sources"), sources},
                       {QStringLiteral("output"), output}};
}

} // namespace

class CreateImagesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Pdfium m_pdfium;
    int m_outputs = 0;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString freshOutput() { return path(QStringLiteral("out%1.pdf").arg(++m_outputs)); }

    // The bounds of the one object on every page; empty when unreadable.
    QList<Bounds> imageBounds(const QString& file) const
    {
        const PdfiumFunctions& api = m_pdfium.api();
        DocumentHandle document = wrapDocument(m_pdfium, api.FPDF_LoadDocument(file.toUtf8().constData(), nullptr));
        QList<Bounds> all;
        for (int index = 0; document && index < api.FPDF_GetPageCount(document.get()); ++index) {
            PageHandle page = wrapPage(m_pdfium, api.FPDF_LoadPage(document.get(), index));
            if (!page || api.FPDFPage_CountObjects(page.get()) != 1)
                return {};
            Bounds bounds;
            api.FPDFPageObj_GetBounds(api.FPDFPage_GetObject(page.get(), 0), &bounds.left, &bounds.bottom,
                                      &bounds.right, &bounds.top);
            all.append(bounds);
        }
        return all;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_pdfium.bindPdfium(velk::test::applicationDirectory()));
        QVERIFY(writeImage(path("png.jpg"), 40, 30, "PNG"));
        QVERIFY(writeImage(path("photo.jpeg"), 40, 30, "JPEG"));
        QVERIFY(writeImage(path("plain.bmp"), 40, 30, "BMP"));
        QVERIFY(writeImageBytes(path("anim.png"), gifBytes()));
        QVERIFY(writeImageBytes(path("anim.gif"), gifBytes()));
        QVERIFY(writeImageBytes(path("scan.jpg"), tiffBytes()));
        QVERIFY(writeImageBytes(path("scan.tif"), tiffBytes()));
        QVERIFY(writeImage(path("square.png"), 100, 100, "PNG"));
        QVERIFY(writeImage(path("wide.png"), 4000, 1000, "PNG"));
        QVERIFY(writeImage(path("20mp.png"), 5000, 4000, "PNG", Qt::gray));
        QVERIFY(writeImage(path("over.png"), 5001, 4000, "PNG", Qt::gray));
        QVERIFY(writeOrientedJpeg(path("turned.jpg"), 200, 100, 6));
    }

    void acceptsByContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("PNG named .jpg") << "png.jpg";
        QTest::newRow("JPEG") << "photo.jpeg";
        QTest::newRow("BMP") << "plain.bmp";
        QTest::newRow("exactly 20 megapixels") << "20mp.png";
    }
    void acceptsByContent()
    {
        QFETCH(QString, name);
        const QString output = freshOutput();
        const WorkerReply reply = runPagesSandboxed(createRequest({path(name)}, output));
        QCOMPARE(reply.error, QString());
        QCOMPARE(imageBounds(output).size(), 1);
    }

    void refusesImages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("GIF named .png") << "anim.png" << kOnlyThree;
        QTest::newRow("GIF") << "anim.gif" << kOnlyThree;
        QTest::newRow("TIFF named .jpg") << "scan.jpg" << kOnlyThree;
        QTest::newRow("TIFF") << "scan.tif" << kOnlyThree;
        QTest::newRow("5,001 x 4,000") << "over.png" << kPixels;
    }
    void refusesImages()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        const QString output = freshOutput();
        // A good image first: the failing one still stops everything.
        const WorkerReply reply = runPagesSandboxed(createRequest({path("square.png"), path(name)}, output));
        QCOMPARE(reply.error, error);
        QVERIFY(!QFile::exists(output));
    }

    void fitsAndCentresImages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("100 x 100 enlarged") << "square.png" << 45.354 << 168.66 << 504.571 << 504.571;
        QTest::newRow("4,000 x 1,000 fills the width") << "wide.png" << 45.354 << 357.874 << 504.571 << 126.143;
        // Turned upright: 100 wide and 200 tall, so the height decides.
        QTest::newRow("EXIF 90 degrees") << "turned.jpg" << 109.845 << 45.354 << 375.591 << 751.181;
    }
    void fitsAndCentresImages()
    {
        QFETCH(QString, name);
        QFETCH(double, left);
        QFETCH(double, bottom);
        QFETCH(double, width);
        QFETCH(double, height);
        const QString output = freshOutput();
        QCOMPARE(runPagesSandboxed(createRequest({path(name)}, output)).error, QString());
        const QList<Bounds> bounds = imageBounds(output);
        QCOMPARE(bounds.size(), 1);
        QVERIFY(qAbs(bounds[0].left - left) < 0.01);
        QVERIFY(qAbs(bounds[0].bottom - bottom) < 0.01);
        QVERIFY(qAbs(bounds[0].right - bounds[0].left - width) < 0.01);
        QVERIFY(qAbs(bounds[0].top - bounds[0].bottom - height) < 0.01);
    }

    void oneHundredImagesMakeOneHundredPages()
    {
        QStringList paths;
        for (int index = 0; index < 100; ++index)
            paths.append(path(index % 2 ? "png.jpg" : "plain.bmp"));
        const QString output = freshOutput();
        QCOMPARE(runPagesSandboxed(createRequest(paths, output)).error, QString());
        QCOMPARE(imageBounds(output).size(), 100);
    }

    // Beside no PDFium: the count is judged before the library is looked for.
    void countIsCheckedBeforePdfiumLoads_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("refusedForCount");
        QTest::newRow("none") << 0 << true;
        QTest::newRow("100") << 100 << false;
        QTest::newRow("101") << 101 << true;
    }
    void countIsCheckedBeforePdfiumLoads()
    {
        QFETCH(int, count);
        QFETCH(bool, refusedForCount);
        QProcess probe;
        probe.setProgram(testBinaryDirectory() + QStringLiteral("/pdfium-missing/pdfium-probe"));
        probe.setArguments({QStringLiteral("dispatch")});
        probe.start();
        QVERIFY(probe.waitForStarted());
        QStringList paths;
        for (int index = 0; index < count; ++index)
            paths.append(path("png.jpg"));
        probe.write(QJsonDocument(createRequest(paths, freshOutput())).toJson(QJsonDocument::Compact));
        probe.closeWriteChannel();
        QVERIFY(probe.waitForFinished(60000));
        const QJsonObject reply = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
        QCOMPARE(reply.value(QStringLiteral("ok")).toBool(), false);
        QCOMPARE(reply.value(QStringLiteral("error")).toString() == QString::fromUtf8(kCount), refusedForCount);
    }

    void existingOutputIsRefusedBySaving()
    {
        const QString output = freshOutput();
        QVERIFY(writeImageBytes(output, "x"));
        const WorkerReply reply = runPagesSandboxed(createRequest({path("square.png")}, output));
        QVERIFY(!reply.error.isEmpty());
        QCOMPARE(QFile(output).size(), 1);
    }
};

QTEST_GUILESS_MAIN(CreateImagesTest)
#include "CreateImagesTest.moc"
