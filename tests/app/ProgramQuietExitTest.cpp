// velk-pdf writes no diagnostics, not even when Qt cannot start it: with no
// display to connect to it ends with status 1 and says nothing.

#include "support/TestPaths.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

class ProgramQuietExitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noDisplayEndsQuietly_data()
    {
        QTest::addColumn<QStringList>("arguments");

        QTest::newRow("no documents") << QStringList();
        QTest::newRow("a document") << QStringList{QStringLiteral("rapor.pdf")};
    }

    void noDisplayEndsQuietly()
    {
        QFETCH(QStringList, arguments);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(velk::test::program(QStringLiteral("velk-pdf")), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(ProgramQuietExitTest)
#include "ProgramQuietExitTest.moc"
