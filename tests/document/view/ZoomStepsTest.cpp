// The zoom steps and the zoom box's percentages, written the Turkish way.

#include "document/view/ZoomSteps.h"

#include <QTest>

using namespace velk;

class ZoomStepsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepsUpAndDown_data()
    {
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("larger");
        QTest::addColumn<double>("smaller");
        QTest::newRow("100 %") << 1.0 << 1.1 << 0.9;
        QTest::newRow("between 110 and 125") << 1.18 << 1.25 << 1.1;
        QTest::newRow("a hair off 150") << 1.502 << 1.75 << 1.25;
        QTest::newRow("below the first") << 0.3 << 0.5 << 0.5;
        QTest::newRow("the first") << 0.5 << 0.67 << 0.5;
        QTest::newRow("the last") << 4.0 << 4.0 << 3.0;
        QTest::newRow("66.7 % counts as 67") << 0.667 << 0.75 << 0.5;
    }

    void stepsUpAndDown()
    {
        QFETCH(double, factor);
        QFETCH(double, larger);
        QFETCH(double, smaller);
        QCOMPARE(ZoomSteps::larger(factor), larger);
        QCOMPARE(ZoomSteps::smaller(factor), smaller);
    }

    void writesThePercentSignFirst()
    {
        QCOMPARE(ZoomSteps::text(1.5), QStringLiteral("%150"));
        QCOMPARE(ZoomSteps::text(0.67), QStringLiteral("%67"));
        QCOMPARE(ZoomSteps::text(1.0), QStringLiteral("%100"));
    }

    void readsTypedPercentages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("factor");
        QTest::newRow("Turkish") << "%150" << 1.5;
        QTest::newRow("Turkish with a space") << "% 80" << 0.8;
        QTest::newRow("sign after") << "150%" << 1.5;
        QTest::newRow("bare") << " 120 " << 1.2;
        QTest::newRow("decimal comma") << "%112,5" << 1.125;
        QTest::newRow("lowest") << "%25" << 0.25;
        QTest::newRow("highest") << "%400" << 4.0;
        QTest::newRow("below") << "%24" << 0.0;
        QTest::newRow("above") << "%401" << 0.0;
        QTest::newRow("two signs") << "%150%" << 0.0;
        QTest::newRow("word") << "Genişliğe sığdır" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "%-150" << 0.0;
        QTest::newRow("huge") << "%99999999999" << 0.0;
    }

    void readsTypedPercentages()
    {
        QFETCH(QString, text);
        QFETCH(double, factor);
        const std::optional<double> read = ZoomSteps::parse(text);
        if (factor == 0.0) {
            QVERIFY(!read);
            return;
        }
        QVERIFY(read);
        QCOMPARE(*read, factor);
    }
};

QTEST_MAIN(ZoomStepsTest)
#include "ZoomStepsTest.moc"
