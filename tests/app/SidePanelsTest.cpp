// The tools panel and the details panel: docking rules, sections, texts and
// bound actions; the details panel follows the current tab; both dock into
// the main window with their toggles in the view menu.

#include "app/ActionIcon.h"
#include "app/DetailsPanel.h"
#include "app/SidePanels.h"
#include "app/Theme.h"
#include "app/ToolsPanel.h"

#include <QAction>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace velk;

namespace {

struct Actions {
    QAction open{QStringLiteral("PDF &aç…")};
    QAction blank{QStringLiteral("&Boş PDF oluştur…")};
    QAction images{QStringLiteral("&Görsellerden PDF…")};
    QAction office{QStringLiteral("Word / ODT / RTF'den PDF…")};
    QAction editText{QStringLiteral("Mevcut metni değiştir veya sil…")};
    QAction fillForm{QStringLiteral("PDF formunu doldur…")};
    QAction organize{QStringLiteral("Sayfaları düzenle ve ayır…")};
    QAction merge{QStringLiteral("PDF birleştir…")};
    QAction ocr{QStringLiteral("OCR ile aranabilir PDF oluştur…")};

    ToolActions tools()
    {
        return {&open, &blank, &images, &office, &editText, &fillForm, &organize, &merge, &ocr};
    }

    QAction* byName(const QString& name)
    {
        const QHash<QString, QAction*> names = {
            {"open", &open}, {"blank", &blank}, {"images", &images}, {"office", &office},
            {"editText", &editText}, {"fillForm", &fillForm}, {"organize", &organize}, {"merge", &merge},
            {"ocr", &ocr}};
        return names.value(name);
    }
};

// The tools panel's layout as a list of "section:", "tool:", "gap:", "stretch"
// and "footer:" entries, with the bound action's name for tools.
QStringList describe(QVBoxLayout* layout, Actions& actions)
{
    const QStringList names = {"open", "blank", "images", "office", "editText", "fillForm", "organize", "merge", "ocr"};
    QStringList entries;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QSpacerItem* spacer = item->spacerItem()) {
            entries << (layout->stretch(i) > 0 || spacer->expandingDirections() ? QStringLiteral("stretch")
                                                                                 : QStringLiteral("gap:%1").arg(spacer->sizeHint().height()));
        } else if (auto* label = qobject_cast<QLabel*>(item->widget())) {
            entries << label->objectName() + QLatin1Char(':') + label->text();
        } else if (auto* button = qobject_cast<QToolButton*>(item->widget())) {
            QString bound;
            for (const QString& name : names) {
                if (actions.byName(name) == button->defaultAction())
                    bound = name;
            }
            entries << button->objectName() + QLatin1Char(':') + button->text() + QLatin1Char('@') + bound;
        }
    }
    return entries;
}

} // namespace

class SidePanelsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void panelsDockOnTheirSide_data()
    {
        QTest::addColumn<bool>("tools");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<Qt::DockWidgetAreas>("areas");

        QTest::newRow("tools") << true << "Tüm araçlar" << "toolsPanel" << Qt::DockWidgetAreas(Qt::LeftDockWidgetArea);
        QTest::newRow("details") << false << "Belge" << "detailsPanel" << Qt::DockWidgetAreas(Qt::RightDockWidgetArea);
    }

    void panelsDockOnTheirSide()
    {
        QFETCH(bool, tools);
        QFETCH(QString, title);
        QFETCH(QString, objectName);
        QFETCH(Qt::DockWidgetAreas, areas);
        Actions actions;
        std::unique_ptr<QDockWidget> panel;
        if (tools)
            panel = std::make_unique<ToolsPanel>(actions.tools(), false);
        else
            panel = std::make_unique<DetailsPanel>();
        QCOMPARE(panel->windowTitle(), title);
        QCOMPARE(panel->objectName(), objectName);
        QCOMPARE(panel->allowedAreas(), areas);
        QCOMPARE(panel->features(), QDockWidget::DockWidgetFeatures(QDockWidget::DockWidgetClosable));
        QCOMPARE(panel->minimumWidth(), 210);
        QCOMPARE(panel->maximumWidth(), 280);
    }

    void toolsPanelScrollsItsContent()
    {
        Actions actions;
        ToolsPanel panel(actions.tools(), false);
        auto* scroll = qobject_cast<QScrollArea*>(panel.widget());
        QVERIFY(scroll);
        QCOMPARE(scroll->objectName(), QStringLiteral("toolScroll"));
        QVERIFY(scroll->widgetResizable());
        QCOMPARE(scroll->frameShape(), QFrame::NoFrame);
        QCOMPARE(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        auto* layout = qobject_cast<QVBoxLayout*>(scroll->widget()->layout());
        QVERIFY(layout);
        QCOMPARE(layout->contentsMargins(), QMargins(16, 16, 16, 20));
        QCOMPARE(layout->spacing(), 12);
    }

    void toolsPanelListsEveryCommand_data()
    {
        QTest::addColumn<bool>("officeAvailable");
        QTest::addColumn<QStringList>("entries");

        const QStringList head = {"panelSection:DOSYA", "sideTool:PDF aç@open", "gap:12",
                                  "panelSection:OLUŞTUR VE DÖNÜŞTÜR", "sideTool:Boş PDF oluştur@blank",
                                  "sideTool:Görsellerden PDF@images"};
        const QStringList tail = {"gap:12", "panelSection:DÜZENLE", "sideTool:Metni düzenle@editText",
                                  "sideTool:PDF formunu doldur@fillForm", "gap:12", "panelSection:SAYFA İŞLEMLERİ",
                                  "sideTool:Sayfaları düzenle@organize", "sideTool:PDF birleştir@merge",
                                  "sideTool:Metni tanı (OCR)@ocr", "stretch", "panelFooter:Velk PDF\nSürüm 0.5.3"};
        QTest::newRow("office conversion unavailable") << false << head + tail;
        QTest::newRow("office conversion available")
            << true << head + QStringList{"sideTool:Word'den PDF@office"} + tail;
    }

    void toolsPanelListsEveryCommand()
    {
        QFETCH(bool, officeAvailable);
        QFETCH(QStringList, entries);
        Actions actions;
        ToolsPanel panel(actions.tools(), officeAvailable);
        auto* scroll = qobject_cast<QScrollArea*>(panel.widget());
        QVERIFY(scroll);
        QCOMPARE(describe(qobject_cast<QVBoxLayout*>(scroll->widget()->layout()), actions), entries);
        for (QLabel* label : panel.findChildren<QLabel*>()) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(label->wordWrap());
        }
    }

    void sideToolsStartAtTheLeft()
    {
        // A wide side tool keeps its icon and text at its left edge instead of
        // centring them.
        Actions actions;
        actions.open.setIcon(QIcon(drawActionIcon(ActionIconKind::Folder)));
        ToolsPanel panel(actions.tools(), false);
        panel.resize(280, 700);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QToolButton* open = nullptr;
        for (QToolButton* button : panel.findChildren<QToolButton*>()) {
            if (button->defaultAction() == &actions.open)
                open = button;
        }
        QVERIFY(open);
        QVERIFY(open->width() > 200);
        const QImage image = open->grab().toImage();
        int firstInk = -1;
        for (int x = 0; x < image.width() && firstInk < 0; ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y).rgb() == QColor("#A9C6FF").rgb()) {
                    firstInk = x;
                    break;
                }
            }
        }
        QVERIFY(firstInk >= 0);
        QVERIFY2(firstInk < 24, qPrintable(QString::number(firstInk)));
    }

    void detailsPanelStartsWithoutDocument()
    {
        DetailsPanel panel;
        auto* layout = qobject_cast<QVBoxLayout*>(panel.widget()->layout());
        QVERIFY(layout);
        QCOMPARE(layout->contentsMargins(), QMargins(16, 16, 16, 20));
        QCOMPARE(layout->spacing(), 16);
        QCOMPARE(layout->count(), 7);
        const QList<QPair<QString, QString>> labels = {
            {"panelSection", "ÇALIŞMA ALANI"},
            {"selectionTitle", "Belge açık değil"},
            {"secondaryText", "Başlamak için bir belge oluşturun veya görsellerinizi dönüştürün."},
            {"", ""},
            {"panelSection", "YEREL İŞLEME"},
            {"secondaryText", "PDF oluşturma ve görsel dönüştürme bilgisayarınızda gerçekleşir."},
        };
        for (int i = 0; i < labels.size(); ++i) {
            QWidget* widget = layout->itemAt(i)->widget();
            QVERIFY(widget);
            if (labels.at(i).first.isEmpty()) {
                auto* line = qobject_cast<QFrame*>(widget);
                QVERIFY(line);
                QCOMPARE(line->frameShape(), QFrame::HLine);
                continue;
            }
            auto* label = qobject_cast<QLabel*>(widget);
            QVERIFY(label);
            QCOMPARE(label->objectName(), labels.at(i).first);
            QCOMPARE(label->text(), labels.at(i).second);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(label->wordWrap());
        }
        QVERIFY(layout->itemAt(6)->spacerItem());
        QCOMPARE(panel.title(), QStringLiteral("Belge açık değil"));
    }

    void detailsPanelFollowsTheCurrentTab_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");

        const QString none = "Başlamak için bir belge oluşturun veya görsellerinizi dönüştürün.";
        const QString open = "Görüntüleme araçlarını belgenin üst çubuğundan kullanabilirsiniz.";
        QTest::newRow("start tab") << 0 << "Belge açık değil" << none;
        QTest::newRow("document") << 1 << "rapor.pdf" << open;
        QTest::newRow("second document") << 2 << "Sözleşme.pdf" << open;
        QTest::newRow("no tab") << -1 << "Belge açık değil" << none;
        QTest::newRow("past the end") << 3 << "Belge açık değil" << none;
    }

    void detailsPanelFollowsTheCurrentTab()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QTabWidget tabs;
        auto* start = new QWidget;
        start->setObjectName(QStringLiteral("startPage"));
        tabs.addTab(start, QStringLiteral("Başlangıç"));
        tabs.addTab(new QWidget, QStringLiteral("rapor.pdf"));
        tabs.addTab(new QWidget, QStringLiteral("Sözleşme.pdf"));
        DetailsPanel panel;
        // From a document back to the start, and from the start to one.
        panel.updateDetailsPanel(tabs, index == 1 ? 2 : 1);
        panel.updateDetailsPanel(tabs, index);
        QCOMPARE(panel.title(), title);
        QCOMPARE(panel.text(), text);
    }

    void panelsInstallIntoTheWindow()
    {
        Actions actions;
        QMainWindow window;
        window.setCentralWidget(new QWidget);
        QMenu view(QStringLiteral("&Görünüm"));
        auto* tools = new ToolsPanel(actions.tools(), false);
        auto* details = new DetailsPanel;
        installSidePanels(window, tools, details, &view);

        QCOMPARE(tools->parent(), &window);
        QCOMPARE(details->parent(), &window);
        QCOMPARE(window.dockWidgetArea(tools), Qt::LeftDockWidgetArea);
        QCOMPARE(window.dockWidgetArea(details), Qt::RightDockWidgetArea);
        QCOMPARE(view.actions(), (QList<QAction*>{tools->toggleViewAction(), details->toggleViewAction()}));

        window.resize(1280, 840);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(tools->width(), 230);
        QCOMPARE(details->width(), 220);

        tools->toggleViewAction()->trigger();
        QVERIFY(tools->isHidden());
        tools->toggleViewAction()->trigger();
        QVERIFY(!tools->isHidden());
    }
};

QTEST_MAIN(SidePanelsTest)
#include "SidePanelsTest.moc"
