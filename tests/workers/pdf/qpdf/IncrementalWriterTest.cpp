// The incremental writer and the seal's text rules, in-process beside the
// real qpdf: the update's layout (source as prefix, a line feed, one
// table subsection per object, /Prev the last startxref), a changed
// stream whose data the layer does not hold is refused, a write cut short
// by the file size limit leaves no file, the output is never overwritten,
// and the seal's date, sizes and characters follow their rules.

#include "qpdf/Qpdf.h"
#include "support/PdfFixtures.h"
#include "support/SignedPdfFixtures.h"
#include "support/TestPaths.h"
#include "signatures/SealAppearance.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <sys/resource.h>

using namespace velk;
using namespace velk::test;

class IncrementalWriterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writePdf(path("source.pdf")));
    }

    void updateLayout()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readFile(path("source.pdf"));
        const qpdf_oh catalog = qpdf.root();
        qpdf.addDocumentExtensions(catalog);
        const qpdf_oh stream = qpdf.addStreamObject(qpdf.parse("<< >>"), "velk");
        qpdf.setKey(catalog, "/VelkData", stream);
        QVERIFY(qpdf.writeIncrementalUpdate(path("source.pdf"), path("updated.pdf")));
        const QByteArray source = readFile(path("source.pdf"));
        const QByteArray output = readFile(path("updated.pdf"));
        QVERIFY(output.startsWith(QByteArray(source + '\n')));
        const QByteArray update = output.mid(source.size());
        QVERIFY(update.contains("\nstream\nvelk\nendstream\nendobj\n"));
        QVERIFY(update.contains("/Length 4"));
        QCOMPARE(startXrefs(output).size(), 2);
        QVERIFY(update.contains(QByteArray("/Prev " + QByteArray::number(startXrefs(source).last()))));
        QVERIFY(qpdfAccepts(path("updated.pdf")));
        QVERIFY(!qpdf.writeIncrementalUpdate(path("source.pdf"), path("updated.pdf")));
        QCOMPARE(readFile(path("updated.pdf")), output);
    }

    void changedStreamWithoutDataRefused()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readFile(path("source.pdf"));
        const qpdf_oh page = qpdf.page(0);
        qpdf.markChanged(qpdf.key(page, "/Contents"));
        QVERIFY(!qpdf.writeIncrementalUpdate(path("source.pdf"), path("stream.pdf")));
        QVERIFY(!QFile::exists(path("stream.pdf")));
    }

    // The file size limit stops the copy halfway: nothing is left.
    void shortWriteLeavesNoFile()
    {
        Qpdf qpdf;
        QVERIFY(qpdf.bindQpdf(applicationDirectory()));
        qpdf.readFile(path("source.pdf"));
        qpdf.addDocumentExtensions(qpdf.root());
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = QFileInfo(path("source.pdf")).size() / 2;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = qpdf.writeIncrementalUpdate(path("source.pdf"), path("short.pdf"));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!written);
        QVERIFY(!QFile::exists(path("short.pdf")));
    }

    void dateText_data()
    {
        QTest::addColumn<int>("offsetSeconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Istanbul") << 3 * 3600 << "2026.11.05 12:43:51 +03'00'";
        QTest::newRow("UTC") << 0 << "2026.11.05 12:43:51 +00'00'";
        QTest::newRow("west, half hour") << -(3 * 3600 + 1800) << "2026.11.05 12:43:51 -03'30'";
    }

    void dateText()
    {
        QFETCH(int, offsetSeconds);
        QFETCH(QString, expected);
        const QDateTime local(QDate(2026, 11, 5), QTime(12, 43, 51), QTimeZone(offsetSeconds));
        QCOMPARE(SealAppearance::dateText(local), expected);
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("others");
        QTest::addColumn<QString>("signer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("detail");
        QTest::newRow("three words") << "Ayşe" << "Nur Yılmaz" << "Ayşe Nur Yılmaz" << "17.0" << "9.0";
        QTest::newRow("one short word") << "Işıl" << "" << "Işıl" << "22.0" << "9.0";
        QTest::newRow("70 characters") << QString(70, 'A') << "" << QString(70, 'A') << "9.0" << "6.0";
    }

    void sizes()
    {
        QFETCH(QString, first);
        QFETCH(QString, others);
        QFETCH(QString, signer);
        QFETCH(QString, name);
        QFETCH(QString, detail);
        QCOMPARE(QString::number(SealAppearance::nameSize(first, others), 'f', 1), name);
        QCOMPARE(QString::number(SealAppearance::detailSize(signer), 'f', 1), detail);
    }

    void sealText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Turkish letters") << "ÇÖÜçöüĞğİıŞş" << "ÇÖÜçöüĞğİıŞş";
        QTest::newRow("parenthesis and backslash") << "a(b)\\c" << "a(b)\\c";
        QTest::newRow("Arabic and Greek") << QString::fromUtf8("a\u0639\u03b1") << "a??";
        QTest::newRow("cut at 60") << QString(61, 'x') << QString(60, 'x');
        QTest::newRow("tab") << "a\tb" << "a?b";
    }

    void sealText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SealAppearance::sealText(text), expected);
    }
};

QTEST_GUILESS_MAIN(IncrementalWriterTest)
#include "IncrementalWriterTest.moc"
