// velk-pdf killed outright (SIGKILL) in the middle of an edit, a merge or
// an OCR run, at a chosen step: while the working copy is being made, while
// it waits for the worker, while its worker runs (holding the worker lock),
// and while it publishes. Whatever the step, no partial file appears at the
// destination or beside it, the worker lock does not outlive the process,
// and the next start of velk-pdf removes the working copies and workspaces
// the killed process left behind.

#include "FaultFixtures.h"
#include "OperationTestFiles.h"
#include "worker/sandbox/SandboxDeadline.h"
#include "support/SandboxHold.h"
#include "worker/sandbox/SandboxLock.h"

#include "support/SteppedProcess.h"
#include "support/TestPaths.h"
#include "workers/pdf/ocr/ScannedPdf.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>


using namespace velk;
using namespace velk::test;

namespace {

const QStringList kLeftoverPrefixes{QStringLiteral("velk-pdf-"), QStringLiteral("velk-task-")};
constexpr int kStepTimeLimitMs = 60000;
constexpr int kLockTimeLimitMs = 5000;
constexpr int kStartTimeLimitMs = 20000;
constexpr int kRestartDelayMs = 100;

} // namespace

class KilledOperationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_inputs;
    QTemporaryDir m_temp;
    QTemporaryDir m_out;

    QString input(const QString& name) const { return m_inputs.filePath(name); }

    QStringList inputsFor(const QString& operation) const
    {
        if (operation == QStringLiteral("merge"))
            return {input("a.pdf"), input("b.pdf")};
        if (operation == QStringLiteral("ocr"))
            return {input("tarama.pdf")};
        return {input("a.pdf")};
    }

    QProcessEnvironment childEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), m_temp.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    // The step, seen while the child stands still.
    std::function<bool(qint64)> reached(const QString& step) const
    {
        const QString temp = m_temp.path();
        const QString out = m_out.path();
        if (step == QStringLiteral("copy"))
            return [temp](qint64 pid) {
                for (const QString& file : openFiles(pid)) {
                    if (file.startsWith(temp) && file.endsWith(QStringLiteral("/document.pdf")))
                        return true;
                }
                return false;
            };
        if (step == QStringLiteral("waiting for the worker"))
            return [temp](qint64 pid) {
                return !entriesStartingWith(temp, kLeftoverPrefixes).isEmpty() && !holdsFileUnder(pid, temp);
            };
        if (step == QStringLiteral("worker running"))
            return [](qint64 pid) { return hasDescendantNamed(pid, "velk-pdf-worker"); };
        return [out](qint64 pid) { return holdsFileUnder(pid, out); };
    }

    // What a start of the real program does with what was left: it must
    // remove it. The program is ended by the test afterwards. Answers what
    // is still there.
    QStringList leftAfterNextStart()
    {
        // Only what is older than the starting process is taken, as the
        // kernel dates that start in whole clock ticks: start a little
        // later than the kill, as any real restart does.
        QTest::qWait(kRestartDelayMs);
        QProcess program;
        program.setProcessEnvironment(childEnvironment());
        program.start(velk::test::program(QStringLiteral("velk-pdf")), {});
        if (!program.waitForStarted())
            return {QStringLiteral("velk-pdf did not start")};
        const QDeadlineTimer deadline(kStartTimeLimitMs);
        QStringList left = entriesStartingWith(m_temp.path(), kLeftoverPrefixes);
        while (!left.isEmpty() && !deadline.hasExpired() && program.state() == QProcess::Running) {
            QTest::qWait(50);
            left = entriesStartingWith(m_temp.path(), kLeftoverPrefixes);
        }
        program.kill();
        program.waitForFinished();
        return left;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_inputs.isValid() && m_temp.isValid() && m_out.isValid());
        // Large enough that copying and publishing take many slices.
        QVERIFY(writeBulkyPdf(input("a.pdf"), "A", 2, 24 * 1048576));
        QVERIFY(writeBulkyPdf(input("b.pdf"), "B", 1, 4 * 1048576));
        QVERIFY(writeScannedPdf(input("tarama.pdf"), {QStringLiteral("Kırmızı elma")}));
    }

    void killedAtAStepLeavesNothingThatLasts_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("step");
        for (const QString& operation : {QStringLiteral("edit"), QStringLiteral("merge"), QStringLiteral("ocr")}) {
            for (const QString& step : {QStringLiteral("waiting for the worker"), QStringLiteral("worker running")})
                QTest::addRow("%s, %s", qPrintable(operation), qPrintable(step)) << operation << step;
        }
        // The scanned page is too small to be caught half-copied or
        // half-published.
        QTest::newRow("edit, copy") << QStringLiteral("edit") << QStringLiteral("copy");
        QTest::newRow("merge, copy") << QStringLiteral("merge") << QStringLiteral("copy");
        QTest::newRow("edit, publication") << QStringLiteral("edit") << QStringLiteral("publication");
        QTest::newRow("merge, publication") << QStringLiteral("merge") << QStringLiteral("publication");
    }

    void killedAtAStepLeavesNothingThatLasts()
    {
        QFETCH(QString, operation);
        QFETCH(QString, step);
        const QString destination = m_out.filePath(QStringLiteral("çıktı.pdf"));
        // Waiting for the worker is made certain by holding its lock.
        SandboxHold hold;
        if (step == QStringLiteral("waiting for the worker"))
            QVERIFY(hold.take());

        SteppedProcess child;
        QVERIFY(child.start(program(QStringLiteral("velk-test-operation")),
                            QStringList{operation, destination} + inputsFor(operation), childEnvironment()));
        QVERIFY2(child.killWhen(reached(step), kStepTimeLimitMs), "the step was never reached");
        hold.release();

        // No partial file at the destination, and nothing beside it.
        QVERIFY(!QFileInfo::exists(destination));
        QCOMPARE(entriesOf(m_out.path()), QStringList());
        // The kill did leave its private directories behind.
        QVERIFY(!entriesStartingWith(m_temp.path(), kLeftoverPrefixes).isEmpty());

        // The worker lock went with the process: the next run is not kept
        // waiting.
        const CancelCheck never;
        SandboxLock lock;
        QVERIFY(lock.open());
        QVERIFY(lock.acquire(SandboxDeadline(never, kLockTimeLimitMs)));

        QCOMPARE(leftAfterNextStart(), QStringList());
    }
};

QTEST_MAIN(KilledOperationTest)
#include "KilledOperationTest.moc"
