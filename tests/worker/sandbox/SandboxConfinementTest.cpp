// What a worker can and cannot do inside the real sandbox: every row runs the
// probe once with one granted input file and one granted output directory,
// and compares the probe's own answer.

#include "ProbeRun.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>

using namespace velk;

class SandboxConfinementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void probeAnswers_data();
    void probeAnswers();
    void workerIdentity();
    void environmentHoldsOnlyTheAllowList_data();
    void environmentHoldsOnlyTheAllowList();

private:
    QByteArray expand(QByteArray text) const;
    test::ProbeOptions grantedOptions() const;

    QTemporaryDir m_workspace;
};

void SandboxConfinementTest::initTestCase()
{
    QVERIFY(m_workspace.isValid());
    QVERIFY(QFileInfo(test::probeProgram()).isExecutable());
    const QString root = m_workspace.path();
    for (const char* name : {"input.txt", "sibling.txt"}) {
        QFile file(root + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("content") == 7);
    }
    QVERIFY(QDir(root).mkdir(QStringLiteral("out")));
    // A program the worker could write itself and try to run.
    QVERIFY(QFile::copy(test::probeProgram(), root + QStringLiteral("/out/copied-probe")));
    QVERIFY(QFile::setPermissions(root + QStringLiteral("/out/copied-probe"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QByteArray SandboxConfinementTest::expand(QByteArray text) const
{
    return text.replace("{root}", QFile::encodeName(m_workspace.path()))
        .replace("{probe}", QFile::encodeName(test::probeProgram()));
}

test::ProbeOptions SandboxConfinementTest::grantedOptions() const
{
    test::ProbeOptions options;
    options.readList = {m_workspace.path() + QStringLiteral("/input.txt")};
    options.writeDirectory = m_workspace.path() + QStringLiteral("/out");
    return options;
}

void SandboxConfinementTest::probeAnswers_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    const QByteArray eperm = "denied " + QByteArray::number(EPERM);
    const QByteArray eacces = "denied " + QByteArray::number(EACCES);

    QTest::newRow("read granted input") << QByteArray("read {root}/input.txt") << QByteArray("allowed");
    QTest::newRow("read input's sibling") << QByteArray("read {root}/sibling.txt") << eacces;
    QTest::newRow("read /etc/passwd") << QByteArray("read /etc/passwd") << eacces;
    QTest::newRow("read /proc/1/environ") << QByteArray("read /proc/1/environ") << eacces;
    QTest::newRow("list /") << QByteArray("read /") << eacces;
    QTest::newRow("read application directory") << QByteArray("read {probe}") << QByteArray("allowed");
    QTest::newRow("read loader cache") << QByteArray("read /etc/ld.so.cache") << QByteArray("allowed");
    QTest::newRow("read locale data") << QByteArray("read /usr/lib/locale/C.utf8/LC_CTYPE") << QByteArray("allowed");
    QTest::newRow("read system font") << QByteArray("read /usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Bold.ttf")
                                      << QByteArray("allowed");
    QTest::newRow("read local time zone") << QByteArray("read /etc/localtime") << QByteArray("allowed");
    QTest::newRow("read time-zone database") << QByteArray("read /usr/share/zoneinfo/Europe/Istanbul")
                                             << QByteArray("allowed");
    QTest::newRow("read system program") << QByteArray("read /usr/bin/env") << eacces;
    QTest::newRow("load qpdf") << QByteArray("load libqpdf.so.29") << QByteArray("allowed");
    QTest::newRow("load tesseract and libgomp") << QByteArray("load libtesseract.so.5") << QByteArray("allowed");
    QTest::newRow("load Qt Gui") << QByteArray("load libQt6Gui.so.6") << QByteArray("allowed");
    QTest::newRow("load Qt offscreen plugin")
        << QByteArray("load /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqoffscreen.so") << QByteArray("allowed");
    QTest::newRow("write in output directory") << QByteArray("write {root}/out/new.txt") << QByteArray("allowed");
    QTest::newRow("make directory in output") << QByteArray("mkdir {root}/out/sub") << QByteArray("allowed");
    QTest::newRow("write beside output") << QByteArray("write {root}/outside.txt") << eacces;
    QTest::newRow("write in /tmp") << QByteArray("write /tmp/velk-sandbox-escape") << eacces;
    QTest::newRow("write input") << QByteArray("write {root}/input.txt") << eacces;
    QTest::newRow("truncate input") << QByteArray("truncate {root}/input.txt") << eacces;
    QTest::newRow("fork") << QByteArray("fork") << eperm;
    QTest::newRow("vfork") << QByteArray("vfork") << eperm;
    QTest::newRow("clone process") << QByteArray("clone") << eperm;
    QTest::newRow("clone3") << QByteArray("clone3") << "denied " + QByteArray::number(ENOSYS);
    QTest::newRow("start thread") << QByteArray("thread") << QByteArray("allowed");
    QTest::newRow("execve system program") << QByteArray("exec /bin/true") << eacces;
    QTest::newRow("execve written program") << QByteArray("exec {root}/out/copied-probe") << eacces;
    QTest::newRow("socket inet") << QByteArray("socket inet") << eperm;
    QTest::newRow("socket inet6") << QByteArray("socket inet6") << eperm;
    QTest::newRow("socket unix") << QByteArray("socket unix") << eperm;
    QTest::newRow("socket netlink") << QByteArray("socket netlink") << eperm;
    QTest::newRow("unshare") << QByteArray("unshare") << eperm;
    QTest::newRow("ptrace") << QByteArray("ptrace") << eperm;
    QTest::newRow("io_uring") << QByteArray("io_uring") << eperm;
    QTest::newRow("allocate 64 MiB") << QByteArray("alloc 67108864") << QByteArray("allowed");
    QTest::newRow("allocate beyond 1.5 GiB")
        << QByteArray("alloc 1610612737") << "denied " + QByteArray::number(ENOMEM);
}

void SandboxConfinementTest::probeAnswers()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    const SandboxResult result = test::runProbe(expand(command), grantedOptions());
    QCOMPARE(result.error(), QByteArray());
    QCOMPARE(result.exitStatus, 0U);
    QCOMPARE(result.output, answer);
}

void SandboxConfinementTest::workerIdentity()
{
    test::ProbeOptions options = grantedOptions();
    options.timeLimitMs = 2500; // CPU seconds are the limit rounded up
    const SandboxResult result = test::runProbe("identity", options);
    QCOMPARE(result.error(), QByteArray());
    const QByteArray expected = "uid=1000 gid=1000 pid=1 sid=1 nnp=1 seccomp=2 caps=none pdeathsig=9 fds=3 "
                                "as=1610612736 cpu=3 core=0 nofile=1024 cwd="
        + QFile::encodeName(QFileInfo(test::probeDirectory()).canonicalFilePath());
    QCOMPARE(result.output, expected);
}

void SandboxConfinementTest::environmentHoldsOnlyTheAllowList_data()
{
    QTest::addColumn<QByteArrayList>("set");
    QTest::addColumn<QByteArrayList>("expected");
    const QByteArrayList fixed = {"OMP_THREAD_LIMIT=1", "QT_QPA_PLATFORM=offscreen"};
    QTest::newRow("locale and time zone pass, the rest stays behind")
        << QByteArrayList {"VELK_SANDBOX_PROBE_VALUE=passed on", "LANG=tr_TR.UTF-8", "LC_TIME=C.UTF-8",
                           "TZ=Europe/Istanbul", "LD_LIBRARY_PATH=/tmp", "QT_PLUGIN_PATH=/tmp",
                           "HOME=/root/elsewhere", "PATH=/tmp"}
        << QByteArrayList {"LANG=tr_TR.UTF-8", "LC_TIME=C.UTF-8", "TZ=Europe/Istanbul"} + fixed;
    QTest::newRow("the caller's thread limit and Qt platform are replaced")
        << QByteArrayList {"OMP_THREAD_LIMIT=8", "QT_QPA_PLATFORM=xcb", "LANGUAGE=tr"}
        << QByteArrayList {"LANGUAGE=tr"} + fixed;
    QTest::newRow("an over-long value stays behind")
        << QByteArrayList {"TZ=" + QByteArray(5000, 'x'), "LC_ALL=tr_TR.UTF-8"}
        << QByteArrayList {"LC_ALL=tr_TR.UTF-8"} + fixed;
}

void SandboxConfinementTest::environmentHoldsOnlyTheAllowList()
{
    QFETCH(QByteArrayList, set);
    QFETCH(QByteArrayList, expected);
    // Only what this row sets may come from the allow list.
    const QStringList saved = QProcessEnvironment::systemEnvironment().toStringList();
    for (const QString& entry : saved) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        if (name.startsWith(QLatin1String("LC_")) || name == QLatin1String("LANG")
            || name == QLatin1String("LANGUAGE") || name == QLatin1String("TZ"))
            qunsetenv(name.toLocal8Bit().constData());
    }
    for (const QByteArray& entry : set)
        qputenv(entry.left(entry.indexOf('=')).constData(), entry.mid(entry.indexOf('=') + 1));
    const SandboxResult result = test::runProbe("environ");
    for (const QByteArray& entry : set)
        qunsetenv(entry.left(entry.indexOf('=')).constData());
    for (const QString& entry : saved)
        qputenv(entry.section(QLatin1Char('='), 0, 0).toLocal8Bit().constData(),
                entry.section(QLatin1Char('='), 1).toLocal8Bit());
    QCOMPARE(result.error(), QByteArray());
    QByteArrayList arrived = result.output.split('\n');
    arrived.removeAll(QByteArray());
    std::sort(arrived.begin(), arrived.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(arrived, expected);
}

QTEST_GUILESS_MAIN(SandboxConfinementTest)
#include "SandboxConfinementTest.moc"
