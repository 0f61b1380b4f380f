// "pages" and "overlay" through the real worker in the real sandbox: page
// order, selection, merging, rotation and overlay read back with PDFium and
// judged by qpdf; refusals of protected, damaged and oversized jobs.

#include "PageReadBack.h"
#include "PageRun.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const char kProtected[] = "Bu sürüm imzalı, şifreli veya etkileşimli form içeren PDF'lerde sayfa değişikliği yapmaz.";
const char kUnreadable[] = "Şifreli veya bozuk PDF sayfa işlemine alınamadı.";
const char kQpdfWarned[] = "QPDF işlemi hata veya uyumluluk uyarısı verdi; çıktı kaydedilmedi.";

} // namespace

class PagesOperationTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_inputs;
    QMap<QString, QString> m_files;
    PageReadBack m_readBack;

    QString file(const QString& name) const { return m_files.value(name); }

    // "@name" entries of sources stand for the fixture of that name.
    QJsonObject resolve(QJsonObject request) const
    {
        QJsonArray sources;
        for (const QJsonValue& entry : request.value(QStringLiteral("sources")).toArray()) {
            QJsonObject source = entry.toObject();
            const QString path = source.value(QStringLiteral("path")).toString();
            if (path.startsWith(QLatin1Char('@')))
                source.insert(QStringLiteral("path"), file(path.mid(1)));
            sources.append(source);
        }
        request.insert(QStringLiteral("sources"), sources);
        return request;
    }

    static QJsonArray sources(const QList<QJsonObject>& list)
    {
        QJsonArray array;
        for (const QJsonObject& source : list)
            array.append(source);
        return array;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_inputs.isValid());
        QVERIFY(m_readBack.isBound());
        const auto add = [&](const QString& name) { return m_files[name] = m_inputs.filePath(name + ".pdf"); };
        QVERIFY(writePdf(add("a3"), labelledPages("A", 3)));
        QVERIFY(writePdf(add("b3"), labelledPages("B", 3)));
        QVERIFY(writePdf(add("c4"), labelledPages("C", 4)));
        QVERIFY(writePdf(add("s5"), labelledPages("S", 5)));
        QVERIFY(writeEncryptedCopy(file("a3"), add("locked"), "açık", "sahip"));
        QVERIFY(writeEncryptedCopy(file("a3"), add("owner only"), "", "sahip"));
        PdfFixtureSpec signedSpec = labelledPages("A", 3);
        signedSpec.signatureFields = 1;
        QVERIFY(writePdf(add("signed"), signedSpec));
        PdfFixtureSpec formSpec = labelledPages("A", 3);
        formSpec.formFieldName = "ad";
        QVERIFY(writePdf(add("form"), formSpec));
        QFile damaged(add("damaged"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        QVERIFY(damaged.write(withBrokenStartXref(pdfBytes(labelledPages("A", 3)))) > 0);
        damaged.close();
        QCOMPARE(m_readBack.pageCount(file("damaged")), 3);
        QVERIFY(writePdf(add("one"), labelledPages("T", 1)));
    }

    void pagesBuildsTheRequestedDocument_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("rotations");
        QTest::newRow("[2, 0, 1] reorders three pages")
            << pagesRequest("pages", sources({pageSource("@a3", QJsonArray{2, 0, 1})}), {})
            << labels("A", {3, 1, 2}) << QList<int>{0, 0, 0};
        QTest::newRow("page 2 of five deleted")
            << pagesRequest("pages", sources({pageSource("@s5", QJsonArray{0, 2, 3, 4})}), {})
            << labels("S", {1, 3, 4, 5}) << QList<int>{0, 0, 0, 0};
        QTest::newRow("a page selected twice")
            << pagesRequest("pages", sources({pageSource("@s5", QJsonArray{1, 4, 1})}), {})
            << labels("S", {2, 5, 2}) << QList<int>{0, 0, 0};
        QTest::newRow("three files merged whole")
            << pagesRequest("pages", sources({pageSource("@a3"), pageSource("@c4"), pageSource("@b3")}), {})
            << labels("A", {1, 2, 3}) + labels("C", {1, 2, 3, 4}) + labels("B", {1, 2, 3})
            << QList<int>(10, 0);
        QTest::newRow("rotations [90, 0, 90, 270]")
            << pagesRequest("pages", sources({pageSource("@c4")}), {}, QJsonArray{90, 0, 90, 270})
            << labels("C", {1, 2, 3, 4}) << QList<int>{90, 0, 90, 270};
        QTest::newRow("merged and rotated with selections")
            << pagesRequest("pages", sources({pageSource("@b3", QJsonArray{2}), pageSource("@a3", QJsonArray{0, 0})}),
                            {}, QJsonArray{180, 0, 270})
            << QStringList{"B3", "A1", "A1"} << QList<int>{180, 0, 270};
    }

    void pagesBuildsTheRequestedDocument()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, rotations);
        QTemporaryDir workspace;
        const QString output = workspace.filePath("output.pdf");
        request.insert("output", output);
        const WorkerReply reply = runPagesSandboxed(resolve(request));
        QCOMPARE(reply.error, QString());
        QCOMPARE(reply.json.value("pages").toInt(), texts.size());
        QCOMPARE(m_readBack.pageTexts(output), texts);
        QCOMPARE(m_readBack.rotations(output), rotations);
        QVERIFY(qpdfAccepts(output));
        // qpdf wrote nothing but the output, in the one writable directory.
        QCOMPARE(entriesIn(workspace.path()), QStringList{"output.pdf"});
    }

    void overlayKeepsThePageCount()
    {
        QTemporaryDir workspace;
        const QString output = workspace.filePath("output.pdf");
        const WorkerReply reply = runPagesSandboxed(
            resolve(pagesRequest("overlay", sources({pageSource("@a3"), pageSource("@b3")}), output)));
        QCOMPARE(reply.error, QString());
        QCOMPARE(reply.json.value("pages").toInt(), 3);
        const QStringList texts = m_readBack.pageTexts(output);
        QCOMPARE(texts.size(), 3);
        for (int index = 0; index < 3; ++index) {
            QVERIFY2(texts[index].contains(QStringLiteral("A%1").arg(index + 1)), qPrintable(texts[index]));
            QVERIFY2(texts[index].contains(QStringLiteral("B%1").arg(index + 1)), qPrintable(texts[index]));
        }
        QVERIFY(qpdfAccepts(output));
    }

    void tenThousandOutputPagesAccepted()
    {
        QTemporaryDir workspace;
        const QString output = workspace.filePath("output.pdf");
        QJsonArray selection;
        for (int index = 0; index < 10000; ++index)
            selection.append(0);
        const WorkerReply reply =
            runPagesSandboxed(resolve(pagesRequest("pages", sources({pageSource("@one", selection)}), output)));
        QCOMPARE(reply.error, QString());
        QCOMPARE(reply.json.value("pages").toInt(), 10000);
        QCOMPARE(m_readBack.pageCount(output), 10000);
    }

    void refusals_data()
    {
        QTest::addColumn<QJsonObject>("request");
        QTest::addColumn<QString>("message");
        QJsonArray tenThousandOne;
        for (int index = 0; index < 10001; ++index)
            tenThousandOne.append(0);
        QTest::newRow("10,001 output pages")
            << pagesRequest("pages", sources({pageSource("@one", tenThousandOne)}), {})
            << QString("Çıktı 10000 sayfayı aşamaz.");
        QTest::newRow("rotation -90") << pagesRequest("pages", sources({pageSource("@a3")}), {}, QJsonArray{0, -90, 0})
                                      << QString("Döndürme açısı geçersiz.");
        QTest::newRow("rotation 360") << pagesRequest("pages", sources({pageSource("@a3")}), {}, QJsonArray{360, 0, 0})
                                      << QString("Döndürme açısı geçersiz.");
        QTest::newRow("rotation list too short")
            << pagesRequest("pages", sources({pageSource("@a3")}), {}, QJsonArray{90, 90})
            << QString("Döndürme listesi sayfa sayısıyla uyuşmuyor.");
        QTest::newRow("overlay of 3 and 4 pages")
            << pagesRequest("overlay", sources({pageSource("@a3"), pageSource("@c4")}), {})
            << QString("Metin katmanı sayfa sayısı uyuşmuyor.");
        QTest::newRow("overlay of one source") << pagesRequest("overlay", sources({pageSource("@a3")}), {})
                                               << QString("Metin katmanı sayfa sayısı uyuşmuyor.");
        QTest::newRow("password-protected") << pagesRequest("pages", sources({pageSource("@locked")}), {})
                                            << QString(kUnreadable);
        QTest::newRow("encrypted without user password")
            << pagesRequest("pages", sources({pageSource("@owner only")}), {}) << QString(kProtected);
        QTest::newRow("signed") << pagesRequest("pages", sources({pageSource("@signed")}), {}) << QString(kProtected);
        QTest::newRow("form") << pagesRequest("pages", sources({pageSource("@form")}), {}) << QString(kProtected);
        QTest::newRow("protected second source")
            << pagesRequest("pages", sources({pageSource("@a3"), pageSource("@form")}), {}) << QString(kProtected);
        QTest::newRow("damaged but recoverable") << pagesRequest("pages", sources({pageSource("@damaged")}), {})
                                                 << QString(kQpdfWarned);
        QTest::newRow("page index out of range")
            << pagesRequest("pages", sources({pageSource("@a3", QJsonArray{3})}), {})
            << QString("Sayfa seçimi geçersiz.");
        QTest::newRow("no sources") << pagesRequest("pages", {}, {}) << QString("Sayfa işlemi isteği geçersiz.");
        QJsonArray hundredOne;
        for (int index = 0; index < 101; ++index)
            hundredOne.append(pageSource("@one"));
        QTest::newRow("101 sources") << pagesRequest("pages", hundredOne, {})
                                     << QString("Sayfa işlemi isteği geçersiz.");
    }

    void refusals()
    {
        QFETCH(QJsonObject, request);
        QFETCH(QString, message);
        QTemporaryDir workspace;
        request.insert("output", workspace.filePath("output.pdf"));
        const WorkerReply reply = runPagesSandboxed(resolve(request));
        QCOMPARE(reply.error, message);
        QCOMPARE(reply.json.value("ok"), QJsonValue(false));
    }

    void existingOutputRefused()
    {
        QTemporaryDir workspace;
        const QString output = workspace.filePath("output.pdf");
        QVERIFY(writePdf(output, labelledPages("X", 1)));
        const WorkerReply reply = runPagesSandboxed(resolve(pagesRequest("pages", sources({pageSource("@a3")}), output)));
        QCOMPARE(reply.error, QString("Sayfa işlemi isteği geçersiz."));
        QCOMPARE(m_readBack.pageTexts(output), QStringList{"X1"});
    }
};

QTEST_GUILESS_MAIN(PagesOperationTest)
#include "PagesOperationTest.moc"
