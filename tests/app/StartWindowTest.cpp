// The window velk-pdf shows at start: the start tab between the two panels,
// the commands with their drawn icons, and only the commands that need no
// open document enabled.

#include "DetailsPanel.h"
#include "StartPage.h"
#include "StartWindow.h"
#include "Theme.h"
#include "ToolsPanel.h"

#include <QAction>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

using namespace velk;

class StartWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void windowFramesTheStartTab()
    {
        StartWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Velk PDF"));
        QCOMPARE(window.size(), QSize(1280, 840));
        QCOMPARE(window.minimumSize(), QSize(760, 540));
        QCOMPARE(window.centralWidget(), window.tabs());
        QCOMPARE(window.tabs()->count(), 1);
        QCOMPARE(window.tabs()->tabText(0), QStringLiteral("Başlangıç"));
        QVERIFY(qobject_cast<StartPage*>(window.tabs()->widget(0)));

        auto* tools = window.findChild<ToolsPanel*>();
        auto* details = window.findChild<DetailsPanel*>();
        QVERIFY(tools && details);
        QCOMPARE(window.dockWidgetArea(tools), Qt::LeftDockWidgetArea);
        QCOMPARE(window.dockWidgetArea(details), Qt::RightDockWidgetArea);
        QCOMPARE(details->title(), QStringLiteral("Belge açık değil"));

        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus.first()->text(), QStringLiteral("&Görünüm"));
        QCOMPARE(menus.first()->menu()->actions(),
                 (QList<QAction*>{tools->toggleViewAction(), details->toggleViewAction()}));
    }

    void commandsCarryTheirIconsAndState_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("open") << 0 << true;
        QTest::newRow("blank PDF") << 1 << true;
        QTest::newRow("images to PDF") << 2 << true;
        QTest::newRow("office to PDF") << 3 << false;
        QTest::newRow("edit text") << 4 << false;
        QTest::newRow("fill form") << 5 << false;
        QTest::newRow("organise pages") << 6 << false;
        QTest::newRow("merge") << 7 << true;
        QTest::newRow("OCR") << 8 << false;
    }

    void commandsCarryTheirIconsAndState()
    {
        QFETCH(int, which);
        QFETCH(bool, enabled);
        StartWindow window;
        const ToolActions& a = window.actions();
        const QList<QAction*> all = {a.open, a.blankPdf, a.imagesToPdf, a.officeToPdf, a.editText,
                                     a.fillForm, a.organizePages, a.merge, a.ocr};
        QAction* action = all.at(which);
        QVERIFY(action);
        QVERIFY(!action->icon().isNull());
        QCOMPARE(action->isEnabled(), enabled);
        QVERIFY(!action->toolTip().isEmpty());
    }
};

QTEST_MAIN(StartWindowTest)
#include "StartWindowTest.moc"
