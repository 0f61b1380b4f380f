// Side panels make room on narrow windows: the details panel folds away
// below 1,120 pixels, the tools panel below 900, both come back when the
// window widens again, and a panel the user closed stays closed.

#include "app/DetailsPanel.h"
#include "app/DockAutoCollapse.h"
#include "app/MainWindow.h"
#include "app/Theme.h"
#include "app/ToolsPanel.h"

#include <QAction>
#include <QTest>

using namespace velk;

Q_DECLARE_METATYPE(velk::DockCollapseStep)

namespace {

bool resizeTo(MainWindow& window, int width)
{
    window.resize(width, 840);
    return QTest::qWaitFor([&window, width] { return window.width() == width; }, 10000);
}

} // namespace

class DockAutoCollapseTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void thresholdsFollowThePanel_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<int>("width");
        QTest::newRow("tools panel") << "toolsPanel" << 900;
        QTest::newRow("details panel") << "detailsPanel" << 1120;
        QTest::newRow("any other panel") << "notesPanel" << 1120;
        QTest::newRow("unnamed panel") << "" << 1120;
    }

    void thresholdsFollowThePanel()
    {
        QFETCH(QString, objectName);
        QFETCH(int, width);
        QCOMPARE(dockCollapseWidth(objectName), width);
    }

    void stepFollowsWidthAndState_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<bool>("autoCollapsed");
        QTest::addColumn<DockCollapseStep>("step");

        QTest::newRow("narrow, shown") << 899 << false << DockCollapseStep::Collapse;
        QTest::newRow("narrow, already collapsed") << 899 << true << DockCollapseStep::Keep;
        QTest::newRow("at the edge, collapsed") << 900 << true << DockCollapseStep::Restore;
        QTest::newRow("at the edge, shown") << 900 << false << DockCollapseStep::Keep;
        QTest::newRow("wide, collapsed") << 1400 << true << DockCollapseStep::Restore;
        QTest::newRow("wide, shown") << 1400 << false << DockCollapseStep::Keep;
    }

    void stepFollowsWidthAndState()
    {
        QFETCH(int, windowWidth);
        QFETCH(bool, autoCollapsed);
        QFETCH(DockCollapseStep, step);
        QCOMPARE(dockCollapseStep(windowWidth, 900, autoCollapsed), step);
    }

    void panelsFollowTheWindowWidth_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<bool>("toolsShown");
        QTest::addColumn<bool>("detailsShown");

        QTest::newRow("1000 keeps the tools") << QList<int>{1000} << true << false;
        QTest::newRow("800 hides both") << QList<int>{800} << false << false;
        QTest::newRow("back to 1200 shows both") << QList<int>{800, 1200} << true << true;
        QTest::newRow("1000 then 1200") << QList<int>{1000, 1200} << true << true;
        QTest::newRow("800 then 1000") << QList<int>{800, 1000} << true << false;
        QTest::newRow("details edge") << QList<int>{1119} << true << false;
        QTest::newRow("details edge reached") << QList<int>{1119, 1120} << true << true;
        QTest::newRow("tools edge") << QList<int>{899} << false << false;
        QTest::newRow("tools edge reached") << QList<int>{899, 900} << true << false;
    }

    void panelsFollowTheWindowWidth()
    {
        QFETCH(QList<int>, widths);
        QFETCH(bool, toolsShown);
        QFETCH(bool, detailsShown);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.toolsPanel()->isVisible() && window.detailsPanel()->isVisible());
        for (int width : widths)
            QVERIFY(resizeTo(window, width));
        QCOMPARE(window.toolsPanel()->isVisible(), toolsShown);
        QCOMPARE(window.detailsPanel()->isVisible(), detailsShown);
        QCOMPARE(window.toolsPanel()->property(kAutoCollapsedProperty).toBool(), !toolsShown);
        QCOMPARE(window.detailsPanel()->property(kAutoCollapsedProperty).toBool(), !detailsShown);
    }

    void panelClosedByHandStaysClosed_data()
    {
        QTest::addColumn<bool>("closeTools");
        QTest::newRow("details panel") << false;
        QTest::newRow("tools panel") << true;
    }

    void panelClosedByHandStaysClosed()
    {
        QFETCH(bool, closeTools);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QDockWidget* closed = closeTools ? static_cast<QDockWidget*>(window.toolsPanel()) : window.detailsPanel();
        QDockWidget* other = closeTools ? static_cast<QDockWidget*>(window.detailsPanel()) : window.toolsPanel();
        closed->toggleViewAction()->trigger();
        QVERIFY(!closed->isVisible());

        QVERIFY(resizeTo(window, 800));
        QCOMPARE(closed->property(kAutoCollapsedProperty).toBool(), true);
        QCOMPARE(closed->property(kRestoreVisibleProperty).toBool(), false);
        QVERIFY(resizeTo(window, 1200));
        QVERIFY(!closed->isVisible());
        QVERIFY(other->isVisible());
        QCOMPARE(closed->property(kAutoCollapsedProperty).toBool(), false);

        // Reopened by hand, it is the user's panel again.
        closed->toggleViewAction()->trigger();
        QVERIFY(closed->isVisible());
        QVERIFY(resizeTo(window, 800));
        QVERIFY(!closed->isVisible());
        QVERIFY(resizeTo(window, 1200));
        QVERIFY(closed->isVisible());
    }

    void panelReopenedWhileNarrowStays()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(resizeTo(window, 1000));
        QVERIFY(!window.detailsPanel()->isVisible());
        window.detailsPanel()->toggleViewAction()->trigger();
        QVERIFY(window.detailsPanel()->isVisible());
        QVERIFY(resizeTo(window, 1010));
        QVERIFY(window.detailsPanel()->isVisible());
        QVERIFY(resizeTo(window, 1200));
        QVERIFY(window.detailsPanel()->isVisible());
    }

    void narrowBeforeShowingStillComesBack()
    {
        // The first resize reaches the window before it is on screen; an
        // open panel collapsed then still counts as open.
        MainWindow window;
        window.resize(800, 840);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.toolsPanel()->isVisible());
        QVERIFY(!window.detailsPanel()->isVisible());
        QVERIFY(resizeTo(window, 1200));
        QVERIFY(window.toolsPanel()->isVisible());
        QVERIFY(window.detailsPanel()->isVisible());
    }
};

QTEST_MAIN(DockAutoCollapseTest)
#include "DockAutoCollapseTest.moc"
