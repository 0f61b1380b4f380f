// A button turns into the emphasised "#315D8B" button only through
// setPrimary: setting the property alone leaves the style already applied.

#include "app/PrimaryWidget.h"
#include "app/Theme.h"
#include "WidgetPixels.h"

#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace velk;
using velk::test::pixelOf;

namespace {

struct Host {
    QMainWindow window;
    QAbstractButton* button = nullptr;

    Host(const QString& kind, const QString& objectName)
    {
        auto* centre = new QWidget;
        auto* layout = new QVBoxLayout(centre);
        if (kind == QLatin1String("QPushButton"))
            button = new QPushButton(QStringLiteral("Kaydet"));
        else
            button = new QToolButton;
        button->setObjectName(objectName);
        button->setMinimumSize(160, 40);
        layout->addWidget(button);
        window.setCentralWidget(centre);
        window.resize(320, 160);
    }

    QColor background() { return pixelOf(window, button->mapTo(&window, QPoint(8, button->height() / 2))); }
};

} // namespace

class PrimaryButtonTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(applyTheme());
    }

    void primaryOnlyAfterSetPrimary_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QColor>("plain");

        QTest::newRow("push button") << "QPushButton" << "" << QColor("#263241");
        QTest::newRow("tool button") << "QToolButton" << "" << QColor("#263241");
        QTest::newRow("side tool") << "QToolButton" << "sideTool" << QColor("#151B24");
    }

    void primaryOnlyAfterSetPrimary()
    {
        QFETCH(QString, kind);
        QFETCH(QString, objectName);
        QFETCH(QColor, plain);
        Host host(kind, objectName);
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        QCOMPARE(host.background(), plain);

        host.button->setProperty("primary", true);
        QCOMPARE(host.background(), plain);

        setPrimary(host.button);
        QCOMPARE(host.background(), QColor("#315D8B"));
        QCOMPARE(host.button->palette().color(QPalette::ButtonText), QColor(Qt::white));
    }

    void disabledPrimaryLooksLikeOtherDisabledButtons_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("push button") << "QPushButton";
        QTest::newRow("tool button") << "QToolButton";
    }

    void disabledPrimaryLooksLikeOtherDisabledButtons()
    {
        QFETCH(QString, kind);
        Host host(kind, QString());
        setPrimary(host.button);
        host.button->setEnabled(false);
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        QCOMPARE(host.background(), QColor("#202A36"));
    }
};

QTEST_MAIN(PrimaryButtonTest)
#include "PrimaryButtonTest.moc"
