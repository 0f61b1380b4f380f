// organizeDocument and mergePdfFiles against the real worker in the real
// sandbox: what reaches the destination, read back with PDFium and judged
// by qpdf, and every refusal before or after the worker.

#include "operations/PageTasks.h"

#include "document/core/DocumentOpen.h"
#include "OperationTestFiles.h"
#include "operations/PageRanges.h"
#include "workers/pdf/pages/PageReadBack.h"
#include "workers/pdf/pages/PageRun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kMergeCount = QStringLiteral("Birleştirmek için 2–100 PDF seçin.");

} // namespace

class PageTasksTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    QTemporaryDir m_temp;
    PageReadBack m_readBack;
    PdfDocumentPtr m_document;

    QString source(const QString& name) const { return m_sources.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sources.isValid() && m_temp.isValid());
        QVERIFY(m_readBack.isBound());
        useTemporaryDirectory(m_temp.path());
        QVERIFY(writePdf(source("a.pdf"), labelledPages("A", 3)));
        QVERIFY(writePdf(source("b.pdf"), labelledPages("B", 2)));
        QVERIFY(writePdf(source("c.pdf"), labelledPages("C", 1)));
        QVERIFY(writeEncryptedCopy(source("a.pdf"), source("locked.pdf"), "açık", "sahip"));
        QVERIFY(writeBytes(source("empty.pdf"), QByteArray()));
        m_document = openPdfDocument(source("a.pdf"), QString(), nullptr).document;
        QVERIFY(m_document);
    }

    void organisedDocumentPublished_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QList<int>>("rotations");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("reordered and rotated") << "3,1-2" << QList<int>{90, 0, 270} << labels("A", {3, 1, 2});
        QTest::newRow("'1,1,1' holds the page three times") << "1,1,1" << QList<int>{0, 0, 0} << labels("A", {1, 1, 1});
        QTest::newRow("split out one page") << "2" << QList<int>{180} << labels("A", {2});
    }

    void organisedDocumentPublished()
    {
        QFETCH(QString, range);
        QFETCH(QList<int>, rotations);
        QFETCH(QStringList, texts);
        const PageRangeResult pages = parsePageRanges(range, m_document->pageCount());
        QCOMPARE(pages.error, QString());
        QTemporaryDir target;
        const QString destination = target.filePath("duzenlenen.pdf");
        const ExportResult result = organizeDocument(m_document, {pages.pages, rotations}, destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QCOMPARE(m_readBack.pageTexts(destination), texts);
        QCOMPARE(m_readBack.rotations(destination), rotations);
        QVERIFY(qpdfAccepts(destination));
        QCOMPARE(entriesOf(target.path()), QStringList{"duzenlenen.pdf"});
    }

    void organiseRefusals_data()
    {
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QList<int>>("rotations");
        QTest::addColumn<QString>("destinationName");
        QTest::addColumn<QString>("message");
        QTest::newRow("no pages") << QList<int>{} << QList<int>{} << "out.pdf" << "Sayfa düzeni geçersiz.";
        QTest::newRow("rotations of another length")
            << QList<int>{0, 1} << QList<int>{0} << "out.pdf" << "Sayfa düzeni geçersiz.";
        QTest::newRow("10,001 pages") << QList<int>(10001, 0) << QList<int>(10001, 0) << "out.pdf"
                                      << "Sayfa düzeni geçersiz.";
        QTest::newRow("no destination") << QList<int>{0} << QList<int>{0} << "" << "Sayfa düzeni geçersiz.";
        QTest::newRow("source as destination")
            << QList<int>{0} << QList<int>{0} << "@source" << "Kaynak belge korunur. Farklı bir çıktı adı seçin.";
        QTest::newRow("working copy as destination")
            << QList<int>{0} << QList<int>{0} << "@working" << "Kaynak belge korunur. Farklı bir çıktı adı seçin.";
        QTest::newRow("page beyond the document")
            << QList<int>{0, 3} << QList<int>{0, 0} << "out.pdf" << "Sayfa numarası geçersiz.";
        QTest::newRow("negative page") << QList<int>{-1} << QList<int>{0} << "out.pdf" << "Sayfa numarası geçersiz.";
        QTest::newRow("angle refused by the worker")
            << QList<int>{0} << QList<int>{45} << "out.pdf" << "Döndürme açısı geçersiz.";
    }

    void organiseRefusals()
    {
        QFETCH(QList<int>, pages);
        QFETCH(QList<int>, rotations);
        QFETCH(QString, destinationName);
        QFETCH(QString, message);
        QTemporaryDir target;
        QString destination = destinationName.isEmpty() ? QString() : target.filePath(destinationName);
        if (destinationName == "@source")
            destination = m_document->sourcePath;
        if (destinationName == "@working")
            destination = m_document->workingPath;
        const QByteArray before = readBytes(source("a.pdf"));
        const ExportResult result = organizeDocument(m_document, {pages, rotations}, destination);
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        QCOMPARE(entriesOf(target.path()), QStringList());
        QCOMPARE(readBytes(source("a.pdf")), before);
    }

    void missingDocumentRefused()
    {
        QTemporaryDir target;
        const ExportResult result = organizeDocument(nullptr, {{0}, {0}}, target.filePath("out.pdf"));
        QCOMPARE(result.message, QString("Sayfa düzeni geçersiz."));
    }

    void mergedFilesPublished()
    {
        QTemporaryDir target;
        const QString destination = target.filePath("birlestirilen.pdf");
        const ExportResult result =
            mergePdfFiles({source("b.pdf"), source("a.pdf"), source("c.pdf")}, destination);
        QCOMPARE(result.message, QString());
        QVERIFY(result.ok);
        QCOMPARE(m_readBack.pageTexts(destination), labels("B", {1, 2}) + labels("A", {1, 2, 3}) + labels("C", {1}));
        QVERIFY(qpdfAccepts(destination));
        QCOMPARE(entriesOf(target.path()), QStringList{"birlestirilen.pdf"});
    }

    void mergeRefusals_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        QTest::newRow("one file") << QStringList{"a.pdf"} << kMergeCount;
        QTest::newRow("101 files") << QStringList(101, "c.pdf") << kMergeCount;
        QTest::newRow("missing input") << QStringList{"a.pdf", "yok.pdf"} << "Kaynak PDF okunamıyor.";
        QTest::newRow("empty input") << QStringList{"a.pdf", "empty.pdf"} << "Kaynak PDF okunamıyor.";
        QTest::newRow("directory input") << QStringList{"a.pdf", "."} << "Kaynak PDF okunamıyor.";
        QTest::newRow("destination is an input") << QStringList{"a.pdf", "@destination"}
                                                 << "Kaynak PDF üzerine yazılamaz.";
    }

    void mergeRefusals()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        QTemporaryDir target;
        const QString destination = target.filePath("birlestirilen.pdf");
        QStringList paths;
        for (const QString& name : names)
            paths.append(name == "@destination" ? destination : source(name));
        if (names.contains("@destination"))
            QVERIFY(writePdf(destination, labelledPages("D", 1)));
        const ExportResult result = mergePdfFiles(paths, destination);
        QCOMPARE(result.message, message);
        QVERIFY(!result.ok);
        if (names.contains("@destination"))
            QCOMPARE(m_readBack.pageTexts(destination), QStringList{"D1"});
        else
            QCOMPARE(entriesOf(target.path()), QStringList());
    }

    void passwordProtectedInputRefusedWithTheOpenMessage()
    {
        QTemporaryDir target;
        const QString destination = target.filePath("birlestirilen.pdf");
        const PdfOpenResult direct = openPdfDocument(source("locked.pdf"), QString(), nullptr);
        QVERIFY(!direct.error.isEmpty());
        const ExportResult result = mergePdfFiles({source("a.pdf"), source("locked.pdf")}, destination);
        QCOMPARE(result.message, direct.error);
        QVERIFY(!result.ok);
        QCOMPARE(entriesOf(target.path()), QStringList());
    }

    void mergeLeavesNoWorkingCopies()
    {
        QTemporaryDir target;
        const QStringList before = entriesOf(m_temp.path());
        QVERIFY(mergePdfFiles({source("a.pdf"), source("c.pdf")}, target.filePath("m.pdf")).ok);
        QCOMPARE(entriesOf(m_temp.path()), before);
    }
};

QTEST_GUILESS_MAIN(PageTasksTest)
#include "PageTasksTest.moc"
