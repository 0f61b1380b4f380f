// The application names itself before anything else: name, version and
// organisation (which also place its settings), the window icon of every
// window, and the desktop entry its windows belong to.

#include "app/AppIdentity.h"

#include <QApplication>
#include <QIcon>
#include <QTest>
#include <QWidget>

using namespace velk;

class ApplicationIdentityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        applyApplicationIdentity(*qApp);
    }

    void identityIsSet_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        QTest::newRow("name") << QApplication::applicationName() << "Velk PDF";
        QTest::newRow("version") << QApplication::applicationVersion() << "0.5.3";
        QTest::newRow("organisation") << QApplication::organizationName() << "Velk";
        QTest::newRow("desktop entry") << QGuiApplication::desktopFileName() << "velk-pdf";
    }

    void identityIsSet()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void everyWindowCarriesTheIcon()
    {
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixmap(QSize(512, 512)).size(), QSize(512, 512));
        QWidget window;
        QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
    }
};

QTEST_MAIN(ApplicationIdentityTest)
#include "ApplicationIdentityTest.moc"
