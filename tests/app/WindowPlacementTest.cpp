// The main window comes back where the user left it: size, position,
// maximised state and panels survive a restart (a new settings object on
// the same temporary file); a position on a screen that is gone is moved
// back onto one; a damaged settings file leaves the defaults.

#include "app/DockAutoCollapse.h"
#include "app/MainWindow.h"
#include "app/WindowPlacement.h"
#include "MainWindowHarness.h"

#include <QDockWidget>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace velk;

namespace {

const QSize kMinimum(760, 540);

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString settingsFile(const QString& name) const { return m_dir.filePath(name); }

    // Shown, or folded away by a narrow window only.
    static bool panelWanted(const MainWindow& window, const char* name)
    {
        const auto* panel = window.findChild<QDockWidget*>(QString::fromLatin1(name));
        if (panel->property(kAutoCollapsedProperty).toBool())
            return panel->property(kRestoreVisibleProperty).toBool();
        return !panel->isHidden();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
    }

    void fittedKeepsWindowsOnScreen_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("expected");
        const QRect screen(0, 0, 1920, 1080);
        QTest::newRow("on screen") << QRect(100, 80, 1000, 700) << QRect(100, 80, 1000, 700);
        QTest::newRow("partly off to the right")
            << QRect(1500, 100, 1000, 700) << QRect(1500, 100, 1000, 700);
        QTest::newRow("on a screen that is gone")
            << QRect(2500, 100, 1000, 700) << QRect(460, 190, 1000, 700);
        QTest::newRow("title bar above the screen")
            << QRect(100, -400, 1000, 700) << QRect(460, 190, 1000, 700);
        QTest::newRow("only a sliver visible")
            << QRect(1900, 100, 1000, 700) << QRect(460, 190, 1000, 700);
        QTest::newRow("larger than the screen")
            << QRect(0, 0, 3000, 2000) << QRect(0, 0, 1920, 1080);
        QTest::newRow("below the minimum size")
            << QRect(100, 100, 200, 100) << QRect(100, 100, 760, 540);
    }
    void fittedKeepsWindowsOnScreen()
    {
        QFETCH(QRect, saved);
        QFETCH(QRect, expected);
        QCOMPARE(WindowPlacement::fitted(saved, {QRect(0, 0, 1920, 1080)}, kMinimum), expected);
    }

    void secondScreenCountsWhilePresent()
    {
        const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(WindowPlacement::fitted(QRect(2100, 50, 900, 600), screens, kMinimum),
                 QRect(2100, 50, 900, 600));
        QCOMPARE(WindowPlacement::fitted(QRect(2100, 50, 900, 600), {screens.first()}, kMinimum).center(),
                 screens.first().center());
    }

    void stateSurvivesARestart()
    {
        const QString path = settingsFile(QStringLiteral("restart.conf"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // Inside the offscreen screen (800 × 600), above the minimum size.
        const QRect placed(screen.x() + 10, screen.y() + 20, 780, 560);
        {
            test::ScriptedWindowPrompts prompts;
            MainWindow window(prompts.prompts());
            window.setGeometry(placed);
            window.findChild<QDockWidget*>(QStringLiteral("detailsPanel"))->hide();
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QSettings settings(path, QSettings::IniFormat);
            WindowPlacement::save(window, settings);
        }
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QSettings settings(path, QSettings::IniFormat);
        WindowPlacement::restore(window, settings);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.normalGeometry().size(), placed.size());
        QCOMPARE(window.normalGeometry().topLeft(), placed.topLeft());
        QVERIFY(!window.isMaximized());
        // So narrow a window folds both panels away for now; the tools
        // panel comes back when it is widened, the details panel does not.
        QVERIFY(!panelWanted(window, "detailsPanel"));
        QVERIFY(panelWanted(window, "toolsPanel"));
        window.resize(1200, window.height());
        QVERIFY(!window.findChild<QDockWidget*>(QStringLiteral("toolsPanel"))->isHidden());
        QVERIFY(window.findChild<QDockWidget*>(QStringLiteral("detailsPanel"))->isHidden());
    }

    void maximisedStateSurvives()
    {
        const QString path = settingsFile(QStringLiteral("maximised.conf"));
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue(QStringLiteral("window/geometry"), QRect(50, 50, 900, 600));
            settings.setValue(QStringLiteral("window/maximized"), true);
        }
        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        QSettings settings(path, QSettings::IniFormat);
        WindowPlacement::restore(window, settings);
        QVERIFY(window.windowState().testFlag(Qt::WindowMaximized));
    }

    void damagedSettingsKeepTheDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary noise") << QByteArray("\x00\xff\xfe[window\x01]\ngeometry=@Rect(\xff", 24);
        QTest::newRow("wrong types")
            << QByteArray("[window]\ngeometry=abc\nmaximized=vielleicht\npanel\\toolsPanel=42\n");
        QTest::newRow("absurd size")
            << QByteArray("[window]\ngeometry=@Rect(0 0 2147483647 2147483647)\n");
        QTest::newRow("empty") << QByteArray();
    }
    void damagedSettingsKeepTheDefaults()
    {
        QFETCH(QByteArray, content);
        const QString path = settingsFile(QStringLiteral("damaged.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
        file.close();

        test::ScriptedWindowPrompts prompts;
        MainWindow window(prompts.prompts());
        const QSize before = window.size();
        QSettings settings(path, QSettings::IniFormat);
        WindowPlacement::restore(window, settings);
        QCOMPARE(window.size(), before);
        QVERIFY(!window.windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(!window.findChild<QDockWidget*>(QStringLiteral("toolsPanel"))->isHidden());
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "WindowPlacementTest.moc"
