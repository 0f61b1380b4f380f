// The isolation self-check run plainly, outside the sandbox: it must report
// false, and every probe must stay harmless while its restriction is
// missing (no child survives, no probe file remains in /tmp, nothing else
// writes to the reply stream). The worker's own lock-down must hold even
// here: execution is refused and the process is not dumpable.

#include "support/TestPaths.h"
#include "support/WorkerProcess.h"

#include <QDir>
#include <QJsonObject>
#include <QTest>

#include <linux/io_uring.h>

#include <sys/syscall.h>
#include <unistd.h>

using namespace velk::test;

namespace {

QString probeHost()
{
    return testBinaryDirectory() + QStringLiteral("/velk-isolation-probe-host");
}

QStringList probeFilesInTmp()
{
    return QDir(QStringLiteral("/tmp")).entryList({QStringLiteral(".velk-isolation-probe-*")},
                                                  QDir::Files | QDir::Hidden | QDir::System);
}

// Whether this test process could set up an io_uring; some hosts refuse
// it for everyone, and then the plain probe rightly reads "refused".
bool hostAllowsIoUring()
{
    io_uring_params params{};
    const int fd = int(syscall(SYS_io_uring_setup, 1, &params));
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

} // namespace

class PlainRunSelfCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(geteuid() == 0, "the plain-run expectations assume the tests run as root, as CI does");
    }

    void selfCheckFailsPlainly()
    {
        const QStringList before = probeFilesInTmp();
        const WorkerRun run = runWorker(probeHost(), "passes");
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.reply().value("passes").toBool(true), false);
        QCOMPARE(run.reply().value("childrenLeft").toBool(true), false);
        QCOMPARE(probeFilesInTmp(), before);
    }

    void eachProbePlainly_data()
    {
        QTest::addColumn<QString>("probe");
        QTest::addColumn<bool>("holds");
        // The lock-down is the process's own doing and holds anywhere.
        QTest::newRow("lock-down") << "processLockedDown" << true;
        QTest::newRow("exec refused by the worker's own filter") << "executionRefused" << true;
        // Everything the launcher would provide is missing.
        QTest::newRow("no_new_privs inherited") << "noNewPrivileges" << false;
        QTest::newRow("uid") << "unprivilegedUser" << false;
        QTest::newRow("capabilities") << "noCapabilities" << false;
        QTest::newRow("launcher's seccomp filter") << "seccompFilter" << false;
        QTest::newRow("namespaces") << "foreignUserNamespaces" << false;
        QTest::newRow("pid 1") << "pidOne" << false;
        QTest::newRow("parent-death signal") << "parentDeathSignal" << false;
        QTest::newRow("session") << "sessionLeader" << false;
        QTest::newRow("resource limits") << "resourceLimits" << false;
        QTest::newRow("descriptors") << "inheritedDescriptors" << false;
        QTest::newRow("root directory") << "rootDirectoryRefused" << false;
        QTest::newRow("file in /tmp") << "temporaryFileRefused" << false;
        QTest::newRow("sockets") << "socketsRefused" << false;
        QTest::newRow("process creation") << "processCreationRefused" << false;
        QTest::newRow("io_uring") << "ioUringRefused" << !hostAllowsIoUring();
    }

    void eachProbePlainly()
    {
        QFETCH(QString, probe);
        QFETCH(bool, holds);
        const QStringList before = probeFilesInTmp();
        const WorkerRun run = runWorker(probeHost(), "each");
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        // One object and nothing else: a probe child that lived on would
        // have written to the same stream or stayed behind.
        QVERIFY(run.output.startsWith('{') && run.output.endsWith('}'));
        QCOMPARE(run.reply().value("childrenLeft").toBool(true), false);
        const QJsonValue value = run.reply().value("probes").toObject().value(probe);
        QVERIFY2(value.isBool(), qPrintable(probe));
        QCOMPARE(value.toBool(), holds);
        QCOMPARE(probeFilesInTmp(), before);
    }
};

QTEST_GUILESS_MAIN(PlainRunSelfCheckTest)
#include "PlainRunSelfCheckTest.moc"
