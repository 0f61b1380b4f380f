// Which commands the main window offers: those that need a document only
// while the current tab shows an open one, those that start a background
// task only while none runs, the rest always; the document tabs may place
// text only while no task runs; and a disabled command greys every button
// that mirrors it. Runs from the application directory, where the worker
// is.

#include "app/MainWindow.h"
#include "MainWindowHarness.h"
#include "document/ui/NativeDocumentTab.h"
#include "support/PdfFixtures.h"
#include "app/StartPage.h"
#include "app/Theme.h"
#include "app/ToolsPanel.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace velk;

namespace {

enum class Current { StartTab, Document, FailedDocument };

// The commands in a fixed order, so that a row lists their states as one
// string of '+' (enabled) and '-' (disabled).
QList<QAction*> commands(const MainWindowActions& a)
{
    return {a.open,     a.saveCopy, a.blankPdf,      a.imagesToPdf, a.officeToPdf, a.quit,
            a.fullScreen, a.editText, a.addShape,  a.fillForm,    a.organizePages, a.merge,
            a.ocr,      a.signDocument, a.verifySignatures, a.secureUpdate};
}

QString states(const MainWindowActions& actions)
{
    QString text;
    for (const QAction* action : commands(actions))
        text += action->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
    return text;
}

// The tab's "Metin ekle", which follows whether editing is allowed.
QAction* textAction(NativeDocumentTab* tab)
{
    for (QAction* action : tab->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("Metin ekle"))
            return action;
    }
    return nullptr;
}

QToolButton* sideToolFor(const ToolsPanel* panel, const QAction* action)
{
    for (QToolButton* button : panel->findChildren<QToolButton*>()) {
        if (button->defaultAction() == action)
            return button;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Current)

class CommandStatesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(applyTheme());
        QVERIFY(test::writePdf(file("rapor.pdf"), test::PdfFixtureSpec::withPages(2)));
        QFile broken(file("bozuk.pdf"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("%PDF-1.7 nothing else") > 0);
    }

    void commandsFollowDocumentAndBusy_data()
    {
        QTest::addColumn<Current>("current");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("afterwards");

        // open, save copy, blank, images, office, quit, full screen, edit
        // text, shape, form, organise, merge, OCR, sign, verify, update
        const QString noDocument = "+-++-++----+---+";
        const QString document = "++++-+++++++++++";
        const QString busy = "+----++--------+";
        QTest::newRow("start tab") << Current::StartTab << false << noDocument << noDocument;
        QTest::newRow("start tab, busy") << Current::StartTab << true << busy << noDocument;
        QTest::newRow("document") << Current::Document << false << document << document;
        QTest::newRow("document, busy") << Current::Document << true << busy << document;
        QTest::newRow("failed document") << Current::FailedDocument << false << noDocument << noDocument;
        QTest::newRow("failed document, busy") << Current::FailedDocument << true << busy << noDocument;
    }

    void commandsFollowDocumentAndBusy()
    {
        QFETCH(Current, current);
        QFETCH(bool, busy);
        QFETCH(QString, expected);
        QFETCH(QString, afterwards);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        if (current != Current::StartTab) {
            window.openDocument(file(current == Current::Document ? "rapor.pdf" : "bozuk.pdf"), false);
            QVERIFY(test::waitUntilSettled(window.currentDocumentTab()));
            QCOMPARE(window.currentDocumentTab()->document() != nullptr, current == Current::Document);
        }
        test::TaskGate gate;
        if (busy)
            QVERIFY(window.startExport(file("çıktı.pdf"), gate.task({false, QStringLiteral("Bitti.")}), nullptr));
        QCOMPARE(states(window.actions()), expected);
        for (NativeDocumentTab* tab : test::documentTabs(window))
            QCOMPARE(textAction(tab)->isEnabled(), !busy);

        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QCOMPARE(states(window.actions()), afterwards);
        for (NativeDocumentTab* tab : test::documentTabs(window))
            QVERIFY(textAction(tab)->isEnabled());
    }

    void switchingTabsUpdatesTheCommands()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(file("rapor.pdf"), false);
        QVERIFY(test::waitUntilOpen(window.currentDocumentTab()));
        QCOMPARE(states(window.actions()), QStringLiteral("++++-+++++++++++"));
        window.tabs()->setCurrentIndex(0);
        QCOMPARE(states(window.actions()), QStringLiteral("+-++-++----+---+"));
        window.tabs()->setCurrentIndex(1);
        QCOMPARE(states(window.actions()), QStringLiteral("++++-+++++++++++"));
    }

    void documentBecomingReadyEnablesItsCommands()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(file("rapor.pdf"), false);
        NativeDocumentTab* tab = window.currentDocumentTab();
        QVERIFY(tab);
        if (!tab->document())
            QVERIFY(!window.actions().saveCopy->isEnabled());
        QVERIFY(test::waitUntilOpen(tab));
        QVERIFY(window.actions().saveCopy->isEnabled());
        QVERIFY(window.actions().signDocument->isEnabled());
    }

    void signatureCommandsDoNothingYet_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::newRow("sign") << "signDocumentAction";
    }

    void signatureCommandsDoNothingYet()
    {
        // Enabled with a document open; it starts nothing until the
        // signature dialog is wired to it.
        QFETCH(QString, objectName);
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.openDocument(file("rapor.pdf"), false);
        QVERIFY(test::waitUntilOpen(window.currentDocumentTab()));
        auto* action = window.findChild<QAction*>(objectName);
        QVERIFY(action && action->isEnabled());
        action->trigger();
        QCOMPARE(window.tabs()->count(), 2);
        QVERIFY(!window.isBusy());
        QVERIFY(prompts.openQuestions.isEmpty() && prompts.saveQuestions.isEmpty() && prompts.warnings.isEmpty());
    }

    void verifyCommandVerifiesTheCurrentDocument_data()
    {
        QTest::addColumn<int>("trust");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("system store") << int(VerificationChoice::Trust::SystemStore)
                                      << QStringList{"Bu belgede kriptografik PDF imzası bulunamadı."};
        QTest::newRow("question cancelled") << int(VerificationChoice::Trust::Cancel) << QStringList{};
    }

    void verifyCommandVerifiesTheCurrentDocument()
    {
        QFETCH(int, trust);
        QFETCH(QStringList, shown);
        test::ScriptedWindowPrompts prompts;
        MainWindowPrompts windowPrompts = prompts.prompts();
        int questions = 0;
        QStringList results;
        windowPrompts.verification.question = [&questions, trust](QWidget*) {
            ++questions;
            return VerificationChoice{VerificationChoice::Trust(trust), false};
        };
        windowPrompts.verification.showResults = [&results](QWidget*, const QString& text) { results << text; };
        MainWindow window(windowPrompts);
        window.openDocument(file("rapor.pdf"), false);
        QVERIFY(test::waitUntilOpen(window.currentDocumentTab()));
        QAction* verify = window.actions().verifySignatures;
        QVERIFY(verify->isEnabled());
        verify->trigger();
        QCOMPARE(questions, 1);
        QCOMPARE(results, shown);
        QCOMPARE(window.tabs()->count(), 2);
        QVERIFY(!window.isBusy());

        // Busy with another task, the command asks nothing.
        test::TaskGate gate;
        QVERIFY(window.startExport(file("çıktı.pdf"), gate.task({false, QStringLiteral("Bitti.")}), nullptr));
        verify->trigger();
        QCOMPARE(questions, 1);
        gate.open();
        QVERIFY(test::waitUntilIdle(window));
    }

    void disabledBlankPdfGreysEveryMirror()
    {
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAction* blank = window.actions().blankPdf;
        QToolButton* card = window.startPage()->blankPdfCard();
        QToolButton* sideTool = sideToolFor(window.toolsPanel(), blank);
        QWidget* toolbarButton = window.findChild<QToolBar*>("mainToolbar")->widgetForAction(blank);
        QMenu* fileMenu = window.menuBar()->actions().at(0)->menu();
        QVERIFY(card && sideTool && toolbarButton && fileMenu->actions().contains(blank));
        QVERIFY(card->isEnabled() && sideTool->isEnabled() && toolbarButton->isEnabled() && blank->isEnabled());

        test::TaskGate gate;
        QVERIFY(window.startExport(file("boş.pdf"), gate.task({false, QStringLiteral("Bitti.")}), nullptr));
        QVERIFY(!blank->isEnabled());
        QVERIFY(!card->isEnabled());
        QVERIFY(!sideTool->isEnabled());
        QVERIFY(!toolbarButton->isEnabled());

        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QVERIFY(card->isEnabled() && sideTool->isEnabled() && toolbarButton->isEnabled() && blank->isEnabled());
        // The mirrors keep their own texts throughout.
        QCOMPARE(card->text(), QStringLiteral("Boş PDF oluştur"));
        QCOMPARE(sideTool->text(), QStringLiteral("Boş PDF oluştur"));
    }

    void openShortcutWorksWhileBusy()
    {
        test::ScriptedWindowPrompts prompts;
        prompts.openAnswers = {file("rapor.pdf")};
        MainWindow window(prompts.prompts());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        test::TaskGate gate;
        QVERIFY(window.startExport(file("boş.pdf"), gate.task({false, QStringLiteral("Bitti.")}), nullptr));

        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(prompts.openQuestions.size(), 1);
        NativeDocumentTab* tab = window.currentDocumentTab();
        QVERIFY(tab);
        QVERIFY(test::waitUntilOpen(tab));
        QVERIFY(window.isBusy());
        // Open, but nothing may be placed while the task runs.
        QVERIFY(!textAction(tab)->isEnabled());
        QVERIFY(!window.actions().saveCopy->isEnabled());

        gate.open();
        QVERIFY(test::waitUntilIdle(window));
        QVERIFY(textAction(tab)->isEnabled());
        QVERIFY(window.actions().saveCopy->isEnabled());
    }
};

QTEST_MAIN(CommandStatesTest)
#include "CommandStatesTest.moc"
