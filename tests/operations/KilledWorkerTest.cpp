// The sandboxed worker killed outright (SIGKILL) while it answers: a render
// half-way through its reply, a page operation half-way through its output.
// The caller gets the runner's sandbox sentence, the destination is never
// touched, and the same open document keeps working: the next render and
// the next page operation on it succeed.

#include "DocumentOpen.h"
#include "FaultFixtures.h"
#include "OperationTestFiles.h"
#include "PageRendering.h"
#include "PageTasks.h"
#include "RunnerMessages.h"

#include "support/PdfFixtures.h"
#include "support/SteppedProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

#include <csignal>
#include <unistd.h>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kRunTimeLimitMs = 60000;
constexpr int kRenderWidth = 2400;
constexpr unsigned long kSliceMicroseconds = 300;

// Bytes the process has written so far, to pipes and files alike.
qint64 bytesWritten(qint64 pid)
{
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = io.readLine(); !line.isEmpty(); line = io.readLine()) {
        if (line.startsWith("wchar: "))
            return line.mid(7).trimmed().toLongLong();
    }
    return -1;
}

// Kills this process's worker once it has written something, while the
// task runs; false when the task ended first. Once found, the worker runs
// only in short slices, stopped between them, so that the kill lands while
// its writing has begun and cannot yet be over.
template <typename Result>
bool killWorkerOnceWriting(const QFuture<Result>& task)
{
    const QDeadlineTimer deadline(kRunTimeLimitMs);
    qint64 worker = 0;
    while (worker == 0 && !task.isFinished() && !deadline.hasExpired())
        worker = descendantNamed(::getpid(), "velk-pdf-worker");
    if (worker == 0 || ::kill(pid_t(worker), SIGSTOP) != 0)
        return false;
    while (!deadline.hasExpired()) {
        const qint64 written = bytesWritten(worker);
        if (written < 0)
            return false; // gone before it wrote
        if (written > 0) {
            ::kill(pid_t(worker), SIGKILL);
            return true;
        }
        ::kill(pid_t(worker), SIGCONT);
        QThread::usleep(kSliceMicroseconds);
        ::kill(pid_t(worker), SIGSTOP);
    }
    ::kill(pid_t(worker), SIGKILL);
    return false;
}

} // namespace

class KilledWorkerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_inputs;
    QTemporaryDir m_temp;
    QTemporaryDir m_out;
    PdfDocumentPtr m_document;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_inputs.isValid() && m_temp.isValid() && m_out.isValid());
        useTemporaryDirectory(m_temp.path());
        const QString source = m_inputs.filePath(QStringLiteral("belge.pdf"));
        QVERIFY(writeBulkyPdf(source, "Sayfa", 3, 6 * 1048576));
        const PdfOpenResult opened = openPdfDocument(source, QString(), nullptr);
        QVERIFY2(opened.document, qPrintable(opened.error));
        m_document = opened.document;
    }

    // A render's reply is megabytes of pixels through a pipe: the worker
    // is killed while it is still writing them.
    void renderKilledMidReply()
    {
        QFuture<PdfRenderResult> render =
            QtConcurrent::run([document = m_document] { return renderPage(document, 0, kRenderWidth, nullptr); });
        QVERIFY(killWorkerOnceWriting(render));
        const PdfRenderResult killed = render.result();
        QVERIFY(killed.image.isNull());
        QCOMPARE(killed.error, RunnerMessages::sandboxFailed());

        const PdfRenderResult next = renderPage(m_document, 1, kRenderWidth, nullptr);
        QVERIFY2(next.error.isEmpty(), qPrintable(next.error));
        QVERIFY(!next.image.isNull());
    }

    void pagesKilledMidOutput()
    {
        const QString destination = m_out.filePath(QStringLiteral("sayfalar.pdf"));
        organize::PageLayout layout;
        layout.pages = {2, 0, 1};
        layout.rotations = {0, 90, 0};
        QFuture<ExportResult> pages = QtConcurrent::run(
            [document = m_document, layout, destination] { return organizeDocument(document, layout, destination); });
        QVERIFY(killWorkerOnceWriting(pages));
        const ExportResult killed = pages.result();
        QVERIFY(!killed.ok);
        QCOMPARE(killed.message, RunnerMessages::sandboxFailed());
        QVERIFY(!QFileInfo::exists(destination));
        QCOMPARE(entriesOf(m_out.path()), QStringList());

        const ExportResult next = organizeDocument(m_document, layout, destination);
        QVERIFY2(next.ok, qPrintable(next.message));
        QVERIFY(qpdfAccepts(destination));
    }

    void cleanupTestCase()
    {
        m_document.reset();
        // Every task's workspace went, killed worker or not.
        QCOMPARE(entriesOf(m_temp.path()), QStringList());
    }
};

QTEST_MAIN(KilledWorkerTest)
#include "KilledWorkerTest.moc"
