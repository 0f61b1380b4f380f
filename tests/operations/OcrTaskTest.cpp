// Searchable PDFs from scanned-looking pages with the real worker, the real
// Tesseract engine and the real sandbox: the chosen pages in the chosen
// order, found by the worker's Turkish-aware search, cancellation between
// pages, and refusals before anything is recognised.

#include "document/core/DocumentOpen.h"
#include "operations/OcrTask.h"
#include "workers/pdf/pages/PageReadBack.h"
#include "worker/runner/PdfWorkerRunner.h"
#include "workers/pdf/ocr/ScannedPdf.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace velk;
using namespace velk::test;

namespace {

// The first page (from 0) on which the worker's search finds query; -1 when none.
int foundOnPage(const QString& path, const QString& query)
{
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("search")},
                              {QStringLiteral("path"), path},
                              {QStringLiteral("query"), query}};
    const WorkerReply reply = runPdfWorker(request, nullptr, 60000);
    return reply.error.isEmpty() ? reply.json.value(QStringLiteral("page")).toInt(-2) : -2;
}

// The worker's render of one page at 400 pixels wide, as its base64 pixels.
QString renderedPixels(const QString& path, int page)
{
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("render")},
                              {QStringLiteral("path"), path},
                              {QStringLiteral("page"), page},
                              {QStringLiteral("width"), 400}};
    const WorkerReply reply = runPdfWorker(request, nullptr, 60000);
    return reply.json.value(QStringLiteral("pixels")).toString();
}

} // namespace

class OcrTaskTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    PageReadBack m_readBack;
    PdfDocumentPtr m_document;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeScannedPdf(path("tarama.pdf"), {QStringLiteral("Şanlıurfa'da ılık bir öğleden sonra"),
                                                     QStringLiteral("The quick brown fox"),
                                                     QStringLiteral("Kırmızı elma")}));
        const PdfOpenResult opened = openPdfDocument(path("tarama.pdf"), QString(), nullptr);
        QVERIFY2(opened.document, qPrintable(opened.error));
        m_document = opened.document;
    }

    void chosenPagesBecomeSearchable_data()
    {
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QStringList>("queries");
        QTest::addColumn<QList<int>>("foundOn");
        // '3-1': the source's pages 3, 2 and 1 in that order.
        QTest::newRow("3-1") << QList<int>{2, 1, 0} << QStringList{"elma", "brown fox", "ŞANLIURFA'DA ILIK"}
                             << QList<int>{0, 1, 2};
        QTest::newRow("same page twice") << QList<int>{1, 1} << QStringList{"The", "öğleden"} << QList<int>{0, -1};
    }
    void chosenPagesBecomeSearchable()
    {
        QFETCH(QList<int>, pages);
        QFETCH(QStringList, queries);
        QFETCH(QList<int>, foundOn);
        const QString destination = path(QStringLiteral("aranabilir-%1.pdf").arg(QTest::currentDataTag()));
        const ExportResult result = recognizeDocument(m_document, pages, destination, nullptr);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(m_readBack.pageCount(destination), int(pages.size()));
        for (int index = 0; index < queries.size(); ++index)
            QCOMPARE(foundOnPage(destination, queries.at(index)), foundOn.at(index));
        // The invisible text leaves every page looking as its source page.
        for (int index = 0; index < pages.size(); ++index) {
            const QString source = renderedPixels(m_document->sourcePath, pages.at(index));
            QVERIFY(!source.isEmpty());
            QVERIFY(renderedPixels(destination, index) == source);
        }
        if (pages.size() == 2) {
            const QStringList texts = m_readBack.pageTexts(destination);
            QVERIFY(texts.at(0).contains(QStringLiteral("brown")));
            QVERIFY(texts.at(1).contains(QStringLiteral("brown")));
        }
    }

    void cancellingAfterFirstPageStopsBeforeSecondRequest()
    {
        const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
        QList<int> positions;
        const auto progress = [&](int position, int count) {
            positions.append(position);
            QCOMPARE(count, 3);
            if (position == 2)
                cancel->store(true);
        };
        const QString destination = path("iptal.pdf");
        const ExportResult result = recognizeDocument(m_document, {0, 1, 2}, destination, cancel, progress);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("OCR iptal edildi."));
        QCOMPARE(positions, QList<int>({1, 2}));
        QVERIFY(!QFile::exists(destination));
    }

    void refusalsBeforeRecognition_data()
    {
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("error");
        const QString inputs = "OCR için 1–100 sayfa ve farklı bir çıktı dosyası seçin.";
        QTest::newRow("no pages") << QList<int>() << "a.pdf" << inputs;
        QTest::newRow("101 pages") << QList<int>(101, 0) << "a.pdf" << inputs;
        QTest::newRow("the source itself") << QList<int>{0} << "tarama.pdf" << inputs;
        QTest::newRow("page outside") << QList<int>{3} << "a.pdf" << "OCR sayfa numarası geçersiz.";
    }
    void refusalsBeforeRecognition()
    {
        QFETCH(QList<int>, pages);
        QFETCH(QString, destination);
        QFETCH(QString, error);
        QList<int> positions;
        const ExportResult result = recognizeDocument(m_document, pages, path(destination), nullptr,
                                                      [&](int position, int) { positions.append(position); });
        QVERIFY(!result.ok);
        QCOMPARE(result.message, error);
        QVERIFY(positions.size() <= 1);
    }
};

QTEST_MAIN(OcrTaskTest)
#include "OcrTaskTest.moc"
