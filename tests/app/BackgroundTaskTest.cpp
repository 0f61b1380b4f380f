// The main window's one background task at a time: a second task is
// dropped, closing waits for the running one, the cancel button shows only
// for a task that can stop and stops it, and the status bar ends in the
// text that says how the task ended. Tasks wait for the test's go-ahead, so
// nothing depends on timing. Runs from the application directory: a saved
// file opens through the worker.

#include "app/MainWindow.h"
#include "MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"
#include "app/Theme.h"

#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

QString statusOf(const MainWindow& window)
{
    return window.statusBar()->currentMessage();
}

CancelFlag newFlag()
{
    return std::make_shared<std::atomic<bool>>(false);
}

} // namespace

class BackgroundTaskTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(applyTheme());
    }

    void taskWhileBusyIsDropped()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        test::TaskGate gate;
        const QString first = m_dir.filePath("birinci.pdf");
        QVERIFY(window.startExport(first, gate.task({false, QStringLiteral("Birinci görev bitti.")}), nullptr));
        QVERIFY(window.isBusy());
        QTRY_COMPARE(gate.runs(), 1);

        QVERIFY(!window.startExport(m_dir.filePath("ikinci.pdf"),
                                    gate.task({false, QStringLiteral("İkinci görev bitti.")}), newFlag()));
        QCOMPARE(window.pendingOutputPath(), first);
        QVERIFY(!window.cancelButton()->isVisibleTo(&window));
        QCOMPARE(statusOf(window), QStringLiteral("PDF oluşturuluyor…"));
        QVERIFY(prompts.warnings.isEmpty());

        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(gate.runs(), 1);
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(prompts.warnings.at(0).text, QStringLiteral("Birinci görev bitti."));
    }

    void closeIsRefusedWhileBusy()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::TaskGate gate;
        QVERIFY(window.startExport(m_dir.filePath("birleşik.pdf"),
                                   gate.task({false, QStringLiteral("Birleştirme bitmedi.")}), nullptr));
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(statusOf(window), QStringLiteral("PDF kaydediliyor. İşlem tamamlandıktan sonra kapatın."));
        window.actions().quit->trigger();
        QVERIFY(window.isVisible());

        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
    }

    void cancelButtonOnlyWithAFlag_data()
    {
        QTest::addColumn<bool>("withFlag");
        QTest::newRow("cancellable") << true;
        QTest::newRow("not cancellable") << false;
    }

    void cancelButtonOnlyWithAFlag()
    {
        QFETCH(bool, withFlag);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::TaskGate gate;
        QVERIFY(window.startExport(m_dir.filePath("çıktı.pdf"), gate.task({false, QStringLiteral("Bitti.")}),
                                   withFlag ? newFlag() : nullptr));
        QCOMPARE(window.cancelButton()->isVisible(), withFlag);
        QVERIFY(window.cancelButton()->isEnabled());
        QCOMPARE(statusOf(window), QStringLiteral("PDF oluşturuluyor…"));
        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QVERIFY(!window.cancelButton()->isVisible());
    }

    void statusSaysHowTheTaskEnded_data()
    {
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<bool>("pressCancel");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("warned");

        QTest::newRow("success") << true << false << "PDF kaydedildi: çıktı raporu.pdf" << false;
        QTest::newRow("cancelled") << false << true << "İşlem iptal edildi." << false;
        QTest::newRow("failure") << false << false << "İşlem tamamlanamadı." << true;
        // A task that finished its file before noticing the flag succeeded.
        QTest::newRow("success despite cancel") << true << true << "PDF kaydedildi: çıktı raporu.pdf" << false;
    }

    void statusSaysHowTheTaskEnded()
    {
        QFETCH(bool, succeeds);
        QFETCH(bool, pressCancel);
        QFETCH(QString, status);
        QFETCH(bool, warned);
        const QString output = m_dir.filePath("çıktı raporu.pdf");
        QFile::remove(output);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::TaskGate gate;
        const CancelFlag flag = newFlag();
        const ExportResult result{succeeds, succeeds ? QString() : QStringLiteral("Sayfa yazılamadı.")};
        const auto work = [output, succeeds] {
            if (succeeds)
                test::writePdf(output, test::PdfFixtureSpec::withPages(2));
        };
        QVERIFY(window.startExport(output, gate.cancellableTask(flag, result, work), flag));

        if (pressCancel) {
            QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
            QVERIFY(flag->load());
            QVERIFY(!window.cancelButton()->isEnabled());
            QCOMPARE(statusOf(window), QStringLiteral("İptal ediliyor…"));
        } else {
            gate.open();
        }
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(statusOf(window), status);
        QCOMPARE(prompts.warnings.size(), warned ? 1 : 0);
        QVERIFY(!window.cancelButton()->isVisible());
        QVERIFY(window.actions().blankPdf->isEnabled());

        NativeDocumentTab* tab = test::tabForFile(window, output);
        QCOMPARE(tab != nullptr, succeeds);
        if (succeeds) {
            QCOMPARE(window.currentDocumentTab(), tab);
            QVERIFY(test::waitUntilOpen(tab));
            QCOMPARE(tab->document()->pageCount(), 2);
        }
    }

    void failureWarnsThenReports()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QString statusDuringWarning;
        bool busyDuringWarning = true;
        prompts.duringWarning = [&] {
            statusDuringWarning = statusOf(window);
            busyDuringWarning = window.isBusy();
        };
        test::TaskGate gate;
        const QString message = QStringLiteral("Çıktı klasörüne yazılamadı.");
        QVERIFY(window.startExport(m_dir.filePath("sonuç.pdf"), gate.task({false, message}), nullptr));
        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(prompts.warnings.at(0).title, QStringLiteral("PDF oluşturulamadı"));
        QCOMPARE(prompts.warnings.at(0).text, message);
        QCOMPARE(statusDuringWarning, QStringLiteral("Hazır"));
        QVERIFY(!busyDuringWarning);
        QCOMPARE(statusOf(window), QStringLiteral("İşlem tamamlanamadı."));
        QCOMPARE(window.tabs()->count(), 1);
    }

    void cancelWithoutAFlagDoesNothing()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        test::TaskGate gate;
        QVERIFY(window.startExport(m_dir.filePath("boş.pdf"), gate.task({false, QStringLiteral("Bitti.")}), nullptr));
        window.cancelButton()->click();
        QCOMPARE(statusOf(window), QStringLiteral("PDF oluşturuluyor…"));
        QVERIFY(window.cancelButton()->isEnabled());
        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(statusOf(window), QStringLiteral("İşlem tamamlanamadı."));
    }
};

QTEST_MAIN(BackgroundTaskTest)
#include "BackgroundTaskTest.moc"
