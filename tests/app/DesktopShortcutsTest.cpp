// Desktop conventions of the main window with real documents: Ctrl+W and
// Ctrl+F4 close the current document tab only, Ctrl+Tab and Ctrl+Shift+Tab
// switch tabs, F1 shows "Hakkında", the title names the current document,
// and an encrypted document asks again after a wrong password and goes
// away when its question is cancelled. Runs from the application
// directory, where the worker is.

#include "app/MainWindow.h"
#include "MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"

#include <QAction>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

const QString kPassword = QStringLiteral("gizli-parola");

} // namespace

class DesktopShortcutsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_settings;

    QString file(const QString& name) const { return m_dir.filePath(name); }

    // Two documents open, the second current.
    void openTwo(MainWindow& window)
    {
        window.openDocuments({file("rapor.pdf"), file("sozlesme.pdf")});
        for (NativeDocumentTab* tab : test::documentTabs(window))
            QVERIFY(test::waitUntilOpen(tab));
        QCOMPARE(window.tabs()->count(), 3);
        QCOMPARE(window.tabs()->currentIndex(), 2);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QVERIFY(test::writePdf(file("rapor.pdf"), test::PdfFixtureSpec::withPages(2)));
        QVERIFY(test::writePdf(file("sozlesme.pdf"), test::PdfFixtureSpec::withPages(1)));
        QVERIFY(test::writeEncryptedCopy(file("rapor.pdf"), file("gizli.pdf"), kPassword, kPassword + "-owner"));
    }

    void closeKeysCloseTheCurrentTabOnly_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Ctrl+W") << int(Qt::Key_W);
        QTest::newRow("Ctrl+F4") << int(Qt::Key_F4);
    }
    void closeKeysCloseTheCurrentTabOnly()
    {
        QFETCH(int, key);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        openTwo(window);
        QTest::keyClick(&window, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(window.tabs()->count(), 2);
        QVERIFY(test::tabForFile(window, file("rapor.pdf")));
        QVERIFY(!test::tabForFile(window, file("sozlesme.pdf")));

        // The start tab never closes.
        window.tabs()->setCurrentIndex(0);
        QTest::keyClick(&window, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(window.tabs()->count(), 2);
    }

    void controlTabSwitchesTabs()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        openTwo(window);
        QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(window.tabs()->currentIndex(), 0);
        QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(window.tabs()->currentIndex(), 1);
        QTest::keyClick(&window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window.tabs()->currentIndex(), 0);
    }

    void titleNamesTheCurrentDocument()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QCOMPARE(window.windowTitle(), QStringLiteral("Velk PDF"));
        QVERIFY(!window.windowIcon().isNull());
        openTwo(window);
        QCOMPARE(window.windowTitle(), QStringLiteral("sozlesme.pdf — Velk PDF"));
        window.tabs()->setCurrentIndex(1);
        QCOMPARE(window.windowTitle(), QStringLiteral("rapor.pdf — Velk PDF"));
        window.tabs()->setCurrentIndex(0);
        QCOMPARE(window.windowTitle(), QStringLiteral("Velk PDF"));
    }

    void functionKeyOneShowsAbout()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindowPrompts answers = prompts.prompts();
        int shown = 0;
        answers.about = [&shown](QWidget*) { ++shown; };
        MainWindow window(answers);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(shown, 1);
        QCOMPARE(window.actions().about->text(), QStringLiteral("Hakkında"));
    }

    void wrongThenRightPasswordOpens()
    {
        test::ScriptedWindowPrompts prompts;
        prompts.passwordAnswers = {QStringLiteral("yanlış"), kPassword};
        MainWindow window(prompts.prompts());
        window.openDocument(file("gizli.pdf"), false);
        NativeDocumentTab* tab = test::tabForFile(window, file("gizli.pdf"));
        QVERIFY(tab);
        QVERIFY(test::waitUntilOpen(tab));
        QCOMPARE(prompts.passwordQuestions, 2);
        QCOMPARE(window.tabs()->count(), 2);
    }

    void cancelledPasswordRemovesTheTab()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(file("rapor.pdf"), false);
        window.openDocument(file("gizli.pdf"), false);
        QCOMPARE(window.tabs()->count(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(window.tabs()->count(), 2, test::kOpenWaitMs);
        QCOMPARE(prompts.passwordQuestions, 1);
        QVERIFY(test::tabForFile(window, file("rapor.pdf")));
        QVERIFY(!test::tabForFile(window, file("gizli.pdf")));
    }
};

QTEST_MAIN(DesktopShortcutsTest)
#include "DesktopShortcutsTest.moc"
