// How a sandbox run begins and ends: request validation, refused grants,
// start failures, exit status, time and output limits, cancellation, the
// per-user lock, serialisation across threads and processes, and that
// nothing of a run is left behind.

#include "ProbeRun.h"
#include "worker/sandbox/SandboxLimits.h"
#include "worker/sandbox/SandboxLock.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace velk;

namespace {

constexpr char kCancelledOrTimedOut[] = "Sandbox cancelled or timed out";

QByteArray uniqueProcessName()
{
    return "vprobe" + QByteArray::number(QRandomGenerator::global()->bounded(100000, 999999));
}

// Owner, group and mode: what a run must leave exactly as it found.
QByteArray accessOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "missing";
    return QByteArray::number(info.st_uid) + ':' + QByteArray::number(info.st_gid) + ':'
        + QByteArray::number(info.st_mode, 8);
}

} // namespace

class SandboxRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void validation_data();
    void validation();
    void refusedGrants_data();
    void refusedGrants();
    void startFailures_data();
    void startFailures();
    void failingWorkerKeepsOutput();
    void timeLimitKillsHalfReply();
    void outputLimit_data();
    void outputLimit();
    void cancelDuringRun();
    void lockWaitEnds_data();
    void lockWaitEnds();
    void lockFile_data();
    void lockFile();
    void grandchildCannotSurvive();
    void runsNeverOverlap();
    void nothingLeftBehind();

private:
    QString path(const char* name) const { return m_workspace.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir m_workspace;
};

void SandboxRunTest::initTestCase()
{
    QVERIFY(m_workspace.isValid());
    QFile input(path("input.txt"));
    QVERIFY(input.open(QIODevice::WriteOnly));
    QVERIFY(input.write("content") == 7);
    input.close();
    QVERIFY(QDir(m_workspace.path()).mkdir(QStringLiteral("dir")));
    QVERIFY(QDir(m_workspace.path()).mkdir(QStringLiteral("shared")));
    QVERIFY(QFile::link(path("input.txt"), path("input-link")));
    QVERIFY(QFile::link(path("dir"), path("dir-link")));
    QVERIFY(QFile::link(test::probeDirectory(), path("probe-link")));
}

void SandboxRunTest::validation_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<qsizetype>("requestSize");
    QTest::addColumn<int>("timeLimitMs");
    QTest::addColumn<QByteArray>("error");
    QTest::addColumn<QByteArray>("output");
    const QString probe = test::probeProgram();
    const QByteArray invalid = "Invalid sandbox request";
    const qsizetype largest = SandboxLimits::kMaxRequestBytes;

    QTest::newRow("largest request, longest limit") << probe << largest << 120000 << QByteArray()
                                                     << QByteArray("bytes 262144");
    QTest::newRow("request one byte over") << probe << largest + 1 << 20000 << invalid << QByteArray();
    QTest::newRow("limit one ms over") << probe << qsizetype(0) << 120001 << invalid << QByteArray();
    QTest::newRow("limit zero") << probe << qsizetype(0) << 0 << invalid << QByteArray();
    QTest::newRow("limit negative") << probe << qsizetype(0) << -1 << invalid << QByteArray();
    QTest::newRow("double quote in executable")
        << test::probeDirectory() + QStringLiteral("/velk\"probe") << qsizetype(0) << 20000 << invalid
        << QByteArray();
}

void SandboxRunTest::validation()
{
    QFETCH(QString, executable);
    QFETCH(qsizetype, requestSize);
    QFETCH(int, timeLimitMs);
    QFETCH(QByteArray, error);
    QFETCH(QByteArray, output);
    QByteArray request = "count\n";
    request.append(qMax<qsizetype>(0, requestSize - request.size()), ' ');
    const SandboxResult result =
        runSandboxedProcess(executable, test::probeDirectory(), {}, {}, request, {}, timeLimitMs);
    QCOMPARE(result.error(), error);
    QCOMPARE(result.output, output);
    QCOMPARE(result.exitStatus, error.isEmpty() ? 0U : 1U);
}

void SandboxRunTest::refusedGrants_data()
{
    QTest::addColumn<QString>("runtimeDirectory");
    QTest::addColumn<QStringList>("readList");
    QTest::addColumn<QString>("writeDirectory");
    QTest::addColumn<QByteArray>("error");
    const QString probeDir = test::probeDirectory();
    const QString input = path("input.txt");
    const QByteArray inputAcl = "Sandbox input ACL unavailable";
    const QByteArray outputAcl = "Sandbox output ACL unavailable";
    const QByteArray runtimeAcl = "Sandbox runtime ACL unavailable";

    QTest::newRow("input is a directory") << probeDir << QStringList {path("dir")} << QString() << inputAcl;
    QTest::newRow("input missing") << probeDir << QStringList {path("missing.txt")} << QString() << inputAcl;
    QTest::newRow("input is a symbolic link") << probeDir << QStringList {path("input-link")} << QString()
                                              << inputAcl;
    QTest::newRow("second input bad") << probeDir << QStringList {input, path("dir")} << QString() << inputAcl;
    QTest::newRow("input empty path") << probeDir << QStringList {QString()} << QString() << inputAcl;
    QTest::newRow("output missing") << probeDir << QStringList {input} << path("nowhere") << outputAcl;
    QTest::newRow("output is a file") << probeDir << QStringList {input} << input << outputAcl;
    QTest::newRow("output is a symbolic link") << probeDir << QStringList {input} << path("dir-link")
                                               << outputAcl;
    QTest::newRow("runtime missing") << path("nowhere") << QStringList() << QString() << runtimeAcl;
    QTest::newRow("runtime is a file") << input << QStringList() << QString() << runtimeAcl;
    QTest::newRow("runtime is a symbolic link") << path("probe-link") << QStringList() << QString()
                                                << runtimeAcl;
}

void SandboxRunTest::refusedGrants()
{
    QFETCH(QString, runtimeDirectory);
    QFETCH(QStringList, readList);
    QFETCH(QString, writeDirectory);
    QFETCH(QByteArray, error);
    const SandboxResult result = runSandboxedProcess(test::probeProgram(), runtimeDirectory, readList,
                                                     writeDirectory, "count\n", {}, 20000);
    QCOMPARE(result.error(), error);
    QCOMPARE(result.exitStatus, 1U);
    QCOMPARE(result.output, QByteArray());
}

void SandboxRunTest::startFailures_data()
{
    QTest::addColumn<QString>("executable");
    QTest::newRow("missing executable") << test::probeDirectory() + QStringLiteral("/no-such-worker");
    QTest::newRow("executable outside the runtime directory") << QStringLiteral("/bin/true");
    QTest::newRow("directory as executable") << test::probeDirectory();
}

void SandboxRunTest::startFailures()
{
    QFETCH(QString, executable);
    const SandboxResult result = runSandboxedProcess(executable, test::probeDirectory(), {}, {}, "count\n", {}, 20000);
    QCOMPARE(result.error(), QByteArray("Restricted worker could not start"));
    QCOMPARE(result.exitStatus, 1U);
}

void SandboxRunTest::failingWorkerKeepsOutput()
{
    const SandboxResult result = test::runProbe("fail");
    QCOMPARE(result.output, QByteArray("failure reply"));
    QCOMPARE(result.error(), QByteArray("Restricted worker exited with code 0x00000001"));
    QCOMPARE(result.exitStatus, 1U);
}

void SandboxRunTest::timeLimitKillsHalfReply()
{
    test::ProbeOptions options;
    options.timeLimitMs = 1000;
    const SandboxResult result = test::runProbe("half", options);
    QCOMPARE(result.error(), QByteArray(kCancelledOrTimedOut));
    QCOMPARE(result.exitStatus, 1U);
    QVERIFY2(QByteArray("{\"ok\":").startsWith(result.output), result.output.constData());
}

void SandboxRunTest::outputLimit_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("exactly the limit") << qint64(SandboxLimits::kMaxOutputBytes) << QByteArray();
    QTest::newRow("one byte over") << qint64(SandboxLimits::kMaxOutputBytes + 1)
                                   << QByteArray("Sandbox output limit exceeded");
}

void SandboxRunTest::outputLimit()
{
    QFETCH(qint64, bytes);
    QFETCH(QByteArray, error);
    const SandboxResult result = test::runProbe("spew " + QByteArray::number(bytes));
    QCOMPARE(result.error(), error);
    QCOMPARE(result.exitStatus, error.isEmpty() ? 0U : 1U);
    if (error.isEmpty())
        QCOMPARE(qint64(result.output.size()), bytes);
    else
        QVERIFY(result.output.size() > SandboxLimits::kMaxOutputBytes);
}

void SandboxRunTest::cancelDuringRun()
{
    std::atomic<int> checks {0};
    test::ProbeOptions options;
    options.cancel = [&checks] { return ++checks > 5; };
    const SandboxResult result = test::runProbe("half", options);
    QCOMPARE(result.error(), QByteArray(kCancelledOrTimedOut));
    QCOMPARE(result.exitStatus, 1U);
}

void SandboxRunTest::lockWaitEnds_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("timeLimitMs");
    QTest::newRow("cancelled") << true << 20000;
    QTest::newRow("time limit") << false << 200;
}

void SandboxRunTest::lockWaitEnds()
{
    QFETCH(bool, cancel);
    QFETCH(int, timeLimitMs);
    const int held = ::open(SandboxLock::filePath().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX), 0);
    std::atomic<bool> asked {false};
    test::ProbeOptions options;
    options.timeLimitMs = timeLimitMs;
    if (cancel)
        options.cancel = [&asked] { return asked.exchange(true) || true; };
    const SandboxResult result = test::runProbe("count", options);
    ::close(held);
    QCOMPARE(result.error(), QByteArray(kCancelledOrTimedOut));
    QCOMPARE(result.output, QByteArray());
    QCOMPARE(asked.load(), cancel);
    // Released, the next run goes through.
    QCOMPARE(test::runProbe("count").output, QByteArray("bytes 6"));
}

void SandboxRunTest::lockFile_data()
{
    QTest::addColumn<int>("directoryMode");
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QByteArray>("error");
    const QByteArray unavailable = "Sandbox ACL lock unavailable";
    QTest::newRow("private runtime directory") << 0700 << QString() << QByteArray();
    QTest::newRow("lock is a symbolic link") << 0700 << QStringLiteral("link") << unavailable;
    QTest::newRow("lock is a directory") << 0700 << QStringLiteral("directory") << unavailable;
    QTest::newRow("lock owned by another user") << 0700 << QStringLiteral("foreign") << unavailable;
    // Not private: the lock moves to /tmp, and the planted link is ignored.
    QTest::newRow("open runtime directory") << 0755 << QStringLiteral("link") << QByteArray();
}

void SandboxRunTest::lockFile()
{
    QFETCH(int, directoryMode);
    QFETCH(QString, planted);
    QFETCH(QByteArray, error);
    QTemporaryDir runtime(m_workspace.path() + QStringLiteral("/xdg-XXXXXX"));
    QVERIFY(runtime.isValid());
    const QByteArray directory = QFile::encodeName(runtime.path());
    const QByteArray lock = directory + "/velk-pdf-worker.lock";
    QCOMPARE(::chmod(directory.constData(), mode_t(directoryMode)), 0);
    if (planted == QLatin1String("link"))
        QCOMPARE(::symlink(QFile::encodeName(path("input.txt")).constData(), lock.constData()), 0);
    else if (planted == QLatin1String("directory"))
        QCOMPARE(::mkdir(lock.constData(), 0700), 0);
    else if (planted == QLatin1String("foreign")) {
        const int fd = ::open(lock.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        // Only a privileged test run can hand the file to someone else.
        if (::chown(lock.constData(), ::geteuid() + 1, ::getegid()) != 0)
            QSKIP("needs to run as root to plant a foreign lock file");
    }
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    const bool hadPrevious = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", directory);
    const QByteArray lockPath = SandboxLock::filePath();
    const SandboxResult result = test::runProbe("count");
    if (hadPrevious)
        qputenv("XDG_RUNTIME_DIR", previous);
    else
        qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(result.error(), error);
    QCOMPARE(result.output, error.isEmpty() ? QByteArray("bytes 6") : QByteArray());
    QCOMPARE(lockPath == lock, directoryMode == 0700);
    // The planted link's target is never opened for writing, let alone emptied.
    QCOMPARE(QFileInfo(path("input.txt")).size(), qint64(7));
}

void SandboxRunTest::grandchildCannotSurvive()
{
    QTemporaryDir output(m_workspace.path() + QStringLiteral("/linger-XXXXXX"));
    QVERIFY(output.isValid());
    const QByteArray name = uniqueProcessName();
    const QString marker = output.path() + QStringLiteral("/lingering");
    test::ProbeOptions options;
    options.writeDirectory = output.path();
    // Cancelled once the probe has answered and is only waiting.
    options.cancel = [&marker] { return QFile::exists(marker); };
    const SandboxResult result = test::runProbe("linger " + name + ' ' + QFile::encodeName(output.path()), options);
    QCOMPARE(result.error(), QByteArray(kCancelledOrTimedOut));
    QCOMPARE(result.output, "denied " + QByteArray::number(EPERM));
    QVERIFY(!test::processNamed(name));
}

void SandboxRunTest::runsNeverOverlap()
{
    const QString shared = path("shared");
    QProcess helper;
    helper.start(test::testBinaryDirectory() + QStringLiteral("/velk-sandbox-launch-helper"),
                 {shared, QStringLiteral("6")});
    QVERIFY(helper.waitForStarted());
    std::mutex guard;
    QList<QByteArray> answers;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 3; ++thread) {
        threads.emplace_back([&] {
            test::ProbeOptions options;
            options.writeDirectory = shared;
            for (int run = 0; run < 3; ++run) {
                const SandboxResult result = test::runProbe("exclusive " + QFile::encodeName(shared), options);
                const std::lock_guard<std::mutex> lock(guard);
                answers.append(result.output + result.error());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QVERIFY(helper.waitForFinished(60000));
    QCOMPARE(helper.exitCode(), 0);
    answers.append(helper.readAllStandardOutput().trimmed().split('\n'));
    QCOMPARE(answers.size(), 15);
    for (const QByteArray& answer : answers)
        QCOMPARE(answer, QByteArray("alone"));
}

void SandboxRunTest::nothingLeftBehind()
{
    const QStringList watched = {test::probeDirectory(), path("input.txt"), path("shared")};
    QList<QByteArray> before;
    for (const QString& entry : watched)
        before.append(accessOf(entry));
    const QByteArray name = uniqueProcessName();
    test::ProbeOptions options;
    options.readList = {path("input.txt")};
    options.writeDirectory = path("shared");
    options.timeLimitMs = 500;
    const SandboxResult result = test::runProbe("linger " + name + ' ' + QFile::encodeName(path("shared")), options);
    QCOMPARE(result.error(), QByteArray(kCancelledOrTimedOut));
    QVERIFY(!test::processNamed(name));
    QVERIFY(test::sandboxLockIsFree());
    QFile::remove(path("shared/lingering"));
    for (int i = 0; i < watched.size(); ++i)
        QCOMPARE(accessOf(watched.at(i)), before.at(i));
}

QTEST_GUILESS_MAIN(SandboxRunTest)
#include "SandboxRunTest.moc"
