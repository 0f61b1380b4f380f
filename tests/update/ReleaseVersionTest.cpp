// Version texts: the whole text must have the form, and versions order by
// their components from the left.

#include "update/ReleaseVersion.h"

#include <QTest>

using namespace velk;

class ReleaseVersionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parses_data();
    void parses();
    void orders_data();
    void orders();
};

void ReleaseVersionTest::parses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");

    QTest::newRow("installed") << "0.5.3" << true << 0 << 5 << 3;
    QTest::newRow("zeros") << "0.0.0" << true << 0 << 0 << 0;
    QTest::newRow("six digits") << "999999.100000.1" << true << 999999 << 100000 << 1;
    QTest::newRow("seven digits") << "1000000.0.0" << false << 0 << 0 << 0;
    QTest::newRow("leading zero") << "0.05.3" << false << 0 << 0 << 0;
    QTest::newRow("two components") << "0.5" << false << 0 << 0 << 0;
    QTest::newRow("four components") << "0.5.3.1" << false << 0 << 0 << 0;
    QTest::newRow("final line feed") << "0.5.3\n" << false << 0 << 0 << 0;
    QTest::newRow("leading space") << " 0.5.3" << false << 0 << 0 << 0;
    QTest::newRow("suffix") << "0.5.3-rc1" << false << 0 << 0 << 0;
    QTest::newRow("sign") << "+0.5.3" << false << 0 << 0 << 0;
    QTest::newRow("other digits") << QStringLiteral("0.5.\u0663") << false << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0;
    QTest::newRow("long") << QString(100000, QLatin1Char('1')) << false << 0 << 0 << 0;
}

void ReleaseVersionTest::parses()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<ReleaseVersion> version = parseVersion(text);
    QCOMPARE(version.has_value(), valid);
    if (valid) {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, patch);
        QCOMPARE(version->major, major);
        QCOMPARE(version->minor, minor);
        QCOMPARE(version->patch, patch);
    }
}

void ReleaseVersionTest::orders_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("higher");

    QTest::newRow("patch") << "0.5.3" << "0.5.4";
    QTest::newRow("minor beats patch") << "0.5.99" << "0.6.0";
    QTest::newRow("major beats minor") << "0.999999.0" << "1.0.0";
    QTest::newRow("numeric, not text") << "0.9.0" << "0.10.0";
}

void ReleaseVersionTest::orders()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    QVERIFY(*parseVersion(lower) < *parseVersion(higher));
    QVERIFY(!(*parseVersion(higher) < *parseVersion(lower)));
    QVERIFY(*parseVersion(lower) == *parseVersion(lower));
}

QTEST_GUILESS_MAIN(ReleaseVersionTest)
#include "ReleaseVersionTest.moc"
