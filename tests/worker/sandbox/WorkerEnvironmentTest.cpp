// The worker's environment built from the caller's: only the allow list
// passes, each name once, bounded; the fixed entries always come last.

#include "worker/sandbox/WorkerEnvironment.h"

#include <QTest>

using namespace velk;

class WorkerEnvironmentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void build_data()
    {
        QTest::addColumn<QByteArrayList>("caller");
        QTest::addColumn<QByteArrayList>("expected");
        const QByteArrayList fixed = {"OMP_THREAD_LIMIT=1", "QT_QPA_PLATFORM=offscreen"};
        QTest::newRow("empty") << QByteArrayList() << fixed;
        QTest::newRow("allowed names in the caller's order")
            << QByteArrayList {"TZ=UTC", "HOME=/home/a", "LANG=tr_TR.UTF-8", "LC_NUMERIC=C", "SSH_AUTH_SOCK=/s"}
            << QByteArrayList {"TZ=UTC", "LANG=tr_TR.UTF-8", "LC_NUMERIC=C"} + fixed;
        QTest::newRow("a repeated name passes once, with its first value")
            << QByteArrayList {"LANG=tr_TR.UTF-8", "LANG=C", "LANGUAGE=tr"}
            << QByteArrayList {"LANG=tr_TR.UTF-8", "LANGUAGE=tr"} + fixed;
        QTest::newRow("a name that only starts like an allowed one")
            << QByteArrayList {"LANGX=1", "TZDIR=/tmp", "LC_TIMEX=1", "lang=tr"} << fixed;
        QTest::newRow("loader, Qt and thread variables of the caller")
            << QByteArrayList {"LD_PRELOAD=/x.so", "LD_LIBRARY_PATH=/x", "QT_PLUGIN_PATH=/x", "QT_QPA_PLATFORM=xcb",
                               "OMP_THREAD_LIMIT=16", "DISPLAY=:0"}
            << fixed;
        QTest::newRow("entries without a name or an equals sign")
            << QByteArrayList {"=tr", "TZ", "LANG="} << QByteArrayList {"LANG="} + fixed;
        QTest::newRow("an entry at the bound passes, one byte over does not")
            << QByteArrayList {"TZ=" + QByteArray(4093, 'x'), "LANG=" + QByteArray(4092, 'y')}
            << QByteArrayList {"TZ=" + QByteArray(4093, 'x')} + fixed;
    }

    void build()
    {
        QFETCH(QByteArrayList, caller);
        QFETCH(QByteArrayList, expected);
        std::vector<const char*> block;
        for (const QByteArray& entry : caller)
            block.push_back(entry.constData());
        block.push_back(nullptr);
        const std::vector<QByteArray> built = WorkerEnvironment::build(block.data());
        QCOMPARE(QByteArrayList(built.begin(), built.end()), expected);
    }

    void noBlockAtAll()
    {
        const std::vector<QByteArray> built = WorkerEnvironment::build(nullptr);
        QCOMPARE(QByteArrayList(built.begin(), built.end()),
                 QByteArrayList({"OMP_THREAD_LIMIT=1", "QT_QPA_PLATFORM=offscreen"}));
    }
};

QTEST_GUILESS_MAIN(WorkerEnvironmentTest)
#include "WorkerEnvironmentTest.moc"
