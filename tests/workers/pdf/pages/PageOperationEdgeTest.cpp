// Request edges of "pages" and "overlay" in-process, with an engine
// directory that holds PDFium but no qpdf: whatever is refused here with its own sentence
// was refused before qpdf was loaded.

#include "common/EngineLibrary.h"
#include "PageRun.h"
#include "RequestDispatcher.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

class PageOperationEdgeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    QTemporaryDir m_engines;
    QString m_one;
    QString m_three;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        // An engine directory of its own, holding PDFium and no qpdf.
        QVERIFY(m_engines.isValid());
        QVERIFY(QFile::link(applicationDirectory() + QStringLiteral("/libpdfium.so"),
                            m_engines.filePath(QStringLiteral("libpdfium.so"))));
        EngineLibrary::setDefaultDirectory(m_engines.path());
        m_one = m_directory.filePath("one.pdf");
        m_three = m_directory.filePath("three.pdf");
        QVERIFY(writePdf(m_one, labelledPages("T", 1)));
        QVERIFY(writePdf(m_three, labelledPages("A", 3)));
        QVERIFY(QDir().mkdir(m_directory.filePath("klasör")));
    }

    void refusedBeforeQpdf_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QString>("message");
        const QString output = m_directory.filePath("out/output.pdf");
        QJsonArray tenThousand;
        for (int index = 0; index < 10000; ++index)
            tenThousand.append(0);
        QJsonArray tenThousandOne = tenThousand;
        tenThousandOne.append(0);
        QTest::newRow("10,001 output pages")
            << pagesRequest("pages", {pageSource(m_one, tenThousandOne)}, output)
            << QString("Çıktı 10000 sayfayı aşamaz.");
        QTest::newRow("10,001 over two sources")
            << pagesRequest("pages", {pageSource(m_one, tenThousand), pageSource(m_one)},
                            output)
            << QString("Çıktı 10000 sayfayı aşamaz.");
        QTest::newRow("missing source") << pagesRequest("pages", {pageSource(m_directory.filePath("yok.pdf"))}, output)
                                        << QString("Kaynak PDF okunamıyor.");
        QTest::newRow("directory source") << pagesRequest("pages", {pageSource(m_directory.filePath("klasör"))}, output)
                                          << QString("Kaynak PDF okunamıyor.");
        QTest::newRow("source without path") << pagesRequest("pages", {QJsonObject{}}, output)
                                             << QString("Kaynak PDF okunamıyor.");
        QTest::newRow("fractional index") << pagesRequest("pages", {pageSource(m_three, QJsonArray{1.5})}, output)
                                          << QString("Sayfa seçimi geçersiz.");
        QTest::newRow("index as text") << pagesRequest("pages", {pageSource(m_three, QJsonArray{"1"})}, output)
                                       << QString("Sayfa seçimi geçersiz.");
        QTest::newRow("selection not a list") << pagesRequest("pages", {pageSource(m_three, "1-2")}, output)
                                              << QString("Sayfa seçimi geçersiz.");
        QTest::newRow("negative index") << pagesRequest("pages", {pageSource(m_three, QJsonArray{-1})}, output)
                                        << QString("Sayfa seçimi geçersiz.");
        QTest::newRow("relative output") << pagesRequest("pages", {pageSource(m_three)}, "output.pdf")
                                         << QString("Sayfa işlemi isteği geçersiz.");
        QTest::newRow("existing output") << pagesRequest("pages", {pageSource(m_three)}, m_three)
                                         << QString("Sayfa işlemi isteği geçersiz.");
        QTest::newRow("rotations not a list") << pagesRequest("pages", {pageSource(m_three)}, output, "90")
                                              << QString("Döndürme listesi sayfa sayısıyla uyuşmuyor.");
        QTest::newRow("valid job meets the missing qpdf")
            << pagesRequest("pages", {pageSource(m_three)}, output, QJsonArray{90, 0, 270})
            << QString("QPDF sayfa motoru yüklenemedi.");
        QTest::newRow("valid overlay meets the missing qpdf")
            << pagesRequest("overlay", {pageSource(m_three), pageSource(m_three)}, output)
            << QString("QPDF sayfa motoru yüklenemedi.");
    }

    void refusedBeforeQpdf()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QString, message);
        const QJsonObject reply = dispatchRequest(request);
        QCOMPARE(reply, (QJsonObject{{"ok", false}, {"error", message}}));
        QVERIFY(!QFile::exists(m_directory.filePath("out/output.pdf")));
    }
};

QTEST_GUILESS_MAIN(PageOperationEdgeTest)
#include "PageOperationEdgeTest.moc"
