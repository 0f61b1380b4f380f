// The cancellation check handed to the sandbox: false for a null flag and
// an unset flag, true once the flag is set, and it keeps the flag alive.

#include "worker/runner/CancelFlag.h"

#include <QTest>

using namespace velk;

class CancelFlagTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void check_data()
    {
        QTest::addColumn<bool>("hasFlag");
        QTest::addColumn<bool>("set");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("null flag cannot cancel") << false << false << false;
        QTest::newRow("flag not set") << true << false << false;
        QTest::newRow("flag set") << true << true << true;
    }

    void check()
    {
        QFETCH(bool, hasFlag);
        QFETCH(bool, set);
        QFETCH(bool, cancelled);
        CancelFlag flag = hasFlag ? std::make_shared<std::atomic<bool>>(false) : nullptr;
        const CancelCheck check = cancelCheckFor(flag);
        if (flag && set)
            flag->exchange(true);
        // The task's copy outlives the GUI object's.
        flag.reset();
        QCOMPARE(check(), cancelled);
    }

    void setLater()
    {
        const CancelFlag flag = std::make_shared<std::atomic<bool>>(false);
        const CancelCheck check = cancelCheckFor(flag);
        QVERIFY(!check());
        flag->exchange(true);
        QVERIFY(check());
    }
};

QTEST_GUILESS_MAIN(CancelFlagTest)
#include "CancelFlagTest.moc"
