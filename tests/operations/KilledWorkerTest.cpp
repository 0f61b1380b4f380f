// The sandboxed worker killed outright (SIGKILL) while it answers: a render
// half-way through its reply, a page operation half-way through its output.
// The caller gets the runner's sandbox sentence, the destination is never
// touched, and the same open document keeps working: the next render and
// the next page operation on it succeed.

#include "document/core/DocumentOpen.h"
#include "FaultFixtures.h"
#include "OperationTestFiles.h"
#include "document/view/PageRendering.h"
#include "operations/PageTasks.h"
#include "worker/runner/RunnerMessages.h"

#include "support/PdfFixtures.h"
#include "support/SteppedProcess.h"

#include <QFileInfo>
#include <QFuture>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

#include <unistd.h>

using namespace velk;
using namespace velk::test;

namespace {

constexpr int kRunTimeLimitMs = 60000;
constexpr int kRenderWidth = 2400;

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
        QVERIFY(killWorkerOnceWriting(::getpid(), [&render] { return render.isFinished(); }, kRunTimeLimitMs));
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
        QVERIFY(killWorkerOnceWriting(::getpid(), [&pages] { return pages.isFinished(); }, kRunTimeLimitMs));
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
