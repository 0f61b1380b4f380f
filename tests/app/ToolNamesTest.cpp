// One name per tool: each side tool of the tools panel carries its menu
// command's name (without mnemonic and ellipsis), and that name fits the
// panel at its narrowest.

#include "app/MainWindow.h"
#include "app/Theme.h"
#include "app/ToolsPanel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

using namespace velk;

namespace {

// The panel's narrowest width, less its margins and a side tool's padding
// and border.
constexpr int kNarrowestPanel = 210;
constexpr int kTextRoom = kNarrowestPanel - 16 - 16 - 8 - 8 - 2 - 22 - 6;

QString plainName(QString text)
{
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QChar(0x2026)))
        text.chop(1);
    return text;
}

} // namespace

class ToolNamesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void sideToolsCarryTheirMenuNames()
    {
        MainWindow window;
        const QList<QToolButton*> tools = window.toolsPanel()->findChildren<QToolButton*>(QStringLiteral("sideTool"));
        QVERIFY(tools.size() >= 8);
        QStringList menuNames;
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            for (QAction* action : menu->actions())
                menuNames << plainName(action->text());
        }
        for (QToolButton* tool : tools) {
            tool->ensurePolished();
            QVERIFY2(menuNames.contains(tool->text()), qPrintable(tool->text()));
            const int width = tool->fontMetrics().horizontalAdvance(tool->text());
            QVERIFY2(width <= kTextRoom, qPrintable(QStringLiteral("%1: %2 px").arg(tool->text()).arg(width)));
        }
    }
};

QTEST_MAIN(ToolNamesTest)
#include "ToolNamesTest.moc"
