// The sandboxed worker killed outright (SIGKILL) while a document tab's
// page is being rendered: the page shows the runner's sandbox sentence in
// its place, and the tab stays usable: the next layout asks again and the
// page arrives. Runs from the application directory, where the worker is.

#include "document/ui/NativeDocumentTab.h"
#include "document/ui/PdfCanvas.h"
#include "document/ui/ThumbnailStrip.h"
#include "worker/runner/RunnerMessages.h"
#include "support/SandboxHold.h"
#include "ScriptedPrompts.h"

#include "support/PdfFixtures.h"
#include "support/SteppedProcess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace velk;

namespace {

constexpr int kWaitMs = 30000;

} // namespace

class KilledRenderTabTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theTabOutlivesItsKilledWorker()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("belge.pdf"));
        QVERIFY(test::writePdf(path, test::PdfFixtureSpec::withPages(3)));

        test::ScriptedPrompts prompts;
        NativeDocumentTab tab(prompts.prompts());
        // A hidden thumbnail strip asks for nothing: the renders below are
        // the page view's own.
        tab.thumbnailStrip()->hide();
        tab.resize(500, 700);
        tab.show();
        QSignalSpy ready(&tab, &NativeDocumentTab::ready);
        QCOMPARE(tab.openFile(path), QString());
        QVERIFY(ready.wait(kWaitMs));
        PdfCanvas* view = tab.pageView();
        QTRY_VERIFY_WITH_TIMEOUT(!view->isRendering(), kWaitMs);

        // A new layout asks for the page again; held behind the worker lock
        // so that this render is surely the one killed.
        test::SandboxHold hold;
        QVERIFY(hold.take());
        tab.resize(600, 700);
        QTRY_VERIFY_WITH_TIMEOUT(view->isRendering(), kWaitMs);
        hold.release();
        QVERIFY(test::killWorkerOnceWriting(::getpid(), [] { return false; }, kWaitMs));
        QTRY_VERIFY_WITH_TIMEOUT(!view->isRendering(), kWaitMs);
        QCOMPARE(view->pageError(0), RunnerMessages::sandboxFailed());
        QVERIFY(view->cachedPage(0).isNull());

        QSignalSpy rendered(view, &PdfCanvas::pageRendered);
        tab.resize(640, 700);
        QTRY_VERIFY_WITH_TIMEOUT(!rendered.isEmpty(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!view->cachedPage(0).isNull(), kWaitMs);
        QCOMPARE(view->pageError(0), QString());
    }
};

QTEST_MAIN(KilledRenderTabTest)
#include "KilledRenderTabTest.moc"
