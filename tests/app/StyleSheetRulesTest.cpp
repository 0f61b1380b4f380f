// The style sheet's rules reach the widgets they name: text sizes and
// colours of the named labels, and the backgrounds of buttons, cards, side
// tools and named surfaces as they are painted.

#include "app/Theme.h"
#include "WidgetPixels.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace velk;
using velk::test::pixelOf;

class StyleSheetRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void everyWidgetIsRobotoBold()
    {
        QLabel plain(QStringLiteral("metin"));
        plain.ensurePolished();
        QCOMPARE(plain.font().family(), QStringLiteral("Roboto"));
        QCOMPARE(plain.font().weight(), QFont::Bold);
        QCOMPARE(plain.palette().color(QPalette::WindowText), QColor("#E7EDF5"));
    }

    void namedLabelsTakeTheirTextStyle_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<int>("pixelSize");   // 0: the application font's size
        QTest::addColumn<QColor>("colour");

        QTest::newRow("workspaceTitle") << "workspaceTitle" << 26 << QColor("#F3F6FA");
        QTest::newRow("eyebrow") << "eyebrow" << 11 << QColor("#A2B3C8");
        QTest::newRow("secondaryText") << "secondaryText" << 0 << QColor("#B8C5D5");
        QTest::newRow("privacyNote") << "privacyNote" << 11 << QColor("#A2B3C8");
        QTest::newRow("availabilityNotice") << "availabilityNotice" << 11 << QColor("#D7BE91");
        QTest::newRow("brandBadge") << "brandBadge" << 13 << QColor(Qt::white);
        QTest::newRow("brandName") << "brandName" << 17 << QColor("#E7EDF5");
        QTest::newRow("panelSection") << "panelSection" << 11 << QColor("#A2B3C8");
        QTest::newRow("panelFooter") << "panelFooter" << 11 << QColor("#98A6B8");
        QTest::newRow("selectionTitle") << "selectionTitle" << 15 << QColor("#F3F6FA");
        QTest::newRow("dialogTitle") << "dialogTitle" << 21 << QColor("#F3F6FA");
        QTest::newRow("dialogSubtitle") << "dialogSubtitle" << 12 << QColor("#B8C5D5");
        QTest::newRow("sectionTitle") << "sectionTitle" << 12 << QColor("#CFDEEF");
        QTest::newRow("statusPanel") << "statusPanel" << 0 << QColor("#CFDEEF");
        QTest::newRow("documentMessage") << "documentMessage" << 0 << QColor("#BFCEE0");
    }

    void namedLabelsTakeTheirTextStyle()
    {
        QFETCH(QString, objectName);
        QFETCH(int, pixelSize);
        QFETCH(QColor, colour);
        QLabel label(QStringLiteral("metin"));
        label.setObjectName(objectName);
        label.ensurePolished();
        if (pixelSize > 0)
            QCOMPARE(label.font().pixelSize(), pixelSize);
        else
            QCOMPARE(label.font().pointSize(), 10);
        QCOMPARE(label.palette().color(QPalette::WindowText), colour);
    }

    void surfacesPaintTheirBackground_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("background");

        QTest::newRow("push button") << "QPushButton" << "" << true << QColor("#263241");
        QTest::newRow("push button disabled") << "QPushButton" << "" << false << QColor("#202A36");
        QTest::newRow("tool button") << "QToolButton" << "" << true << QColor("#263241");
        QTest::newRow("action card") << "QToolButton" << "actionCard" << true << QColor("#1E2937");
        QTest::newRow("action card disabled") << "QToolButton" << "actionCard" << false << QColor("#1A232F");
        QTest::newRow("side tool shows its parent") << "QToolButton" << "sideTool" << true << QColor("#151B24");
        QTest::newRow("brand badge") << "QLabel" << "brandBadge" << true << QColor("#B94950");
        QTest::newRow("document message") << "QLabel" << "documentMessage" << true << QColor("#1C2735");
        QTest::newRow("status panel label") << "QLabel" << "statusPanel" << true << QColor("#222F3F");
        QTest::newRow("status panel frame") << "QFrame" << "statusPanel" << true << QColor("#222F3F");
        QTest::newRow("start content") << "QWidget" << "startContent" << true << QColor("#151B24");
    }

    void surfacesPaintTheirBackground()
    {
        QFETCH(QString, kind);
        QFETCH(QString, objectName);
        QFETCH(bool, enabled);
        QFETCH(QColor, background);

        // The host paints the main window's colour, so transparent widgets
        // show it.
        QMainWindow host;
        auto* centre = new QWidget;
        auto* layout = new QVBoxLayout(centre);
        QWidget* widget = nullptr;
        if (kind == QLatin1String("QPushButton"))
            widget = new QPushButton;
        else if (kind == QLatin1String("QToolButton"))
            widget = new QToolButton;
        else if (kind == QLatin1String("QLabel"))
            widget = new QLabel;
        else if (kind == QLatin1String("QFrame"))
            widget = new QFrame;
        else
            widget = new QWidget;
        widget->setObjectName(objectName);
        widget->setEnabled(enabled);
        widget->setMinimumSize(120, 60);
        layout->addWidget(widget);
        host.setCentralWidget(centre);
        host.resize(300, 200);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        const QPoint inside = widget->mapTo(&host, QPoint(12, widget->height() / 2));
        QCOMPARE(pixelOf(host, inside), background);
    }

    void horizontalLineIsOnePixelOfItsColour()
    {
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        auto* line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        layout->addWidget(line);
        host.resize(200, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(line->height(), 1);
        QCOMPARE(pixelOf(host, line->mapTo(&host, QPoint(100, 0))), QColor("#2C3745"));
    }

    void dialogAndMainWindowBackgrounds()
    {
        QDialog dialog;
        dialog.resize(100, 80);
        QCOMPARE(pixelOf(dialog, QPoint(50, 40)), QColor("#1C2430"));
        QMainWindow window;
        window.setCentralWidget(new QWidget);
        window.resize(100, 80);
        QCOMPARE(pixelOf(window, QPoint(50, 40)), QColor("#151B24"));
    }
};

QTEST_MAIN(StyleSheetRulesTest)
#include "StyleSheetRulesTest.moc"
