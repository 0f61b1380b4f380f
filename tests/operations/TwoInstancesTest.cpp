// Two velk-pdf processes of the same user on the same documents: their
// worker runs take turns through the user's worker lock, both results are
// whole, and when both publish to the same new name at the same moment
// exactly one wins; the other is refused and the winner's file is intact.

#include "document/files/AtomicFileWriter.h"
#include "FaultFixtures.h"
#include "OperationTestFiles.h"

#include "support/PdfFixtures.h"
#include "support/SteppedProcess.h"
#include "support/TestPaths.h"
#include "workers/pdf/ocr/ScannedPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kRunTimeLimitMs = 120000;
constexpr int kStepTimeLimitMs = 60000;

// qpdf's count of the file's pages; -1 when qpdf cannot read it.
int pageCount(const QString& path)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--show-npages"), path});
    if (!qpdf.waitForFinished(kStepTimeLimitMs) || qpdf.exitCode() != 0)
        return -1;
    bool ok = false;
    const int count = qpdf.readAllStandardOutput().trimmed().toInt(&ok);
    return ok ? count : -1;
}

} // namespace

class TwoInstancesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_inputs;
    QTemporaryDir m_temp;
    QTemporaryDir m_out;

    QString input(const QString& name) const { return m_inputs.filePath(name); }

    QStringList inputsFor(const QString& operation) const
    {
        if (operation == QStringLiteral("merge"))
            return {input("a.pdf"), input("b.pdf")};
        return {input("tarama.pdf")};
    }

    QProcessEnvironment childEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), m_temp.path());
        return environment;
    }

    bool startChild(SteppedProcess& child, const QString& operation, const QString& destination,
                    const QStringList& inputs) const
    {
        return child.start(program(QStringLiteral("velk-test-operation")), QStringList{operation, destination} + inputs,
                           childEnvironment());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_inputs.isValid() && m_temp.isValid() && m_out.isValid());
        QVERIFY(writeBulkyPdf(input("a.pdf"), "A", 2, 2 * 1048576));
        QVERIFY(writeBulkyPdf(input("b.pdf"), "B", 1, 1048576));
        // Told apart by their page counts.
        QVERIFY(writeBulkyPdf(input("x.pdf"), "X", 1, 12 * 1048576));
        QVERIFY(writeBulkyPdf(input("y.pdf"), "Y", 2, 12 * 1048576));
        QVERIFY(writeScannedPdf(input("tarama.pdf"), {QStringLiteral("Kırmızı elma")}));
    }

    void cleanup()
    {
        for (const QString& name : entriesOf(m_out.path()))
            QFile::remove(m_out.filePath(name));
        QCOMPARE(entriesOf(m_temp.path()), QStringList());
    }

    void workerRunsTakeTurns_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("OCR and OCR") << QStringLiteral("ocr") << QStringLiteral("ocr");
        QTest::newRow("merge and merge") << QStringLiteral("merge") << QStringLiteral("merge");
        QTest::newRow("OCR and merge") << QStringLiteral("ocr") << QStringLiteral("merge");
    }

    void workerRunsTakeTurns()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const QString one = m_out.filePath(QStringLiteral("bir.pdf"));
        const QString two = m_out.filePath(QStringLiteral("iki.pdf"));
        SteppedProcess a;
        SteppedProcess b;
        QVERIFY(startChild(a, first, one, inputsFor(first)));
        QVERIFY(startChild(b, second, two, inputsFor(second)));

        // Watched all along: never a worker of each at the same time.
        int samples = 0;
        while (isAlive(a.pid()) || isAlive(b.pid())) {
            const bool bothRun =
                hasDescendantNamed(a.pid(), "velk-pdf-worker") && hasDescendantNamed(b.pid(), "velk-pdf-worker");
            QVERIFY(!bothRun);
            ++samples;
            if (samples > 100000)
                break;
            QTest::qWait(2);
        }
        QCOMPARE(a.waitForExit(kRunTimeLimitMs), 0);
        QCOMPARE(b.waitForExit(kRunTimeLimitMs), 0);
        QVERIFY(qpdfAccepts(one));
        QVERIFY(qpdfAccepts(two));
    }

    // Both publish to one new name, held at the same moment in
    // publication, then let go together.
    void exactlyOneSaveToTheSameNewNameWins_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("save a copy") << QStringLiteral("save");
        QTest::newRow("publish an edit") << QStringLiteral("edit");
    }

    void exactlyOneSaveToTheSameNewNameWins()
    {
        QFETCH(QString, operation);
        const QString destination = m_out.filePath(QStringLiteral("aynı.pdf"));
        const QString out = m_out.path();
        const auto publishing = [out](qint64 pid) { return holdsFileUnder(pid, out); };
        SteppedProcess x;
        SteppedProcess y;
        QVERIFY(startChild(x, operation, destination, {input("x.pdf")}));
        QVERIFY(x.stopWhen(publishing, kStepTimeLimitMs));
        QVERIFY(startChild(y, operation, destination, {input("y.pdf")}));
        QVERIFY(y.stopWhen(publishing, kStepTimeLimitMs));
        x.resume();
        y.resume();

        const int xStatus = x.waitForExit(kRunTimeLimitMs);
        const int yStatus = y.waitForExit(kRunTimeLimitMs);
        QCOMPARE(xStatus + yStatus, 1);
        SteppedProcess& loser = xStatus == 0 ? y : x;
        QCOMPARE(QString::fromUtf8(loser.output()), AtomicFileWriter::destinationTakenSentence());
        QCOMPARE(entriesOf(m_out.path()), QStringList{QStringLiteral("aynı.pdf")});
        QVERIFY(qpdfAccepts(destination));
        // Whole: the winner's own output, not a mixture or a cut.
        QCOMPARE(pageCount(destination), xStatus == 0 ? 1 : 2);
        if (operation == QStringLiteral("save"))
            QCOMPARE(readBytes(destination), readBytes(input(xStatus == 0 ? "x.pdf" : "y.pdf")));
    }
};

QTEST_MAIN(TwoInstancesTest)
#include "TwoInstancesTest.moc"
