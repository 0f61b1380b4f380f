#include "SmallDisk.h"

#include "TestPaths.h"

#include <unistd.h>

namespace velk::test {

namespace {

constexpr int kStartTimeLimitMs = 10000;
constexpr int kStopTimeLimitMs = 5000;
constexpr int kRunTimeLimitMs = 60000;

} // namespace

SmallDisk::SmallDisk(qint64 bytes, Access access)
{
    if (!m_mountPoint.isValid())
        return;
    QStringList arguments{QString::number(bytes), m_mountPoint.path()};
    if (access == Access::ReadOnly)
        arguments << QStringLiteral("read-only");
    m_helper.start(testBinaryDirectory() + QStringLiteral("/velk-test-small-disk"), arguments);
    if (!m_helper.waitForStarted(kStartTimeLimitMs))
        return;
    while (!m_helper.canReadLine() && m_helper.state() == QProcess::Running)
        m_helper.waitForReadyRead(kStartTimeLimitMs);
    m_ready = m_helper.readLine() == "ready\n";
}

SmallDisk::~SmallDisk()
{
    if (m_helper.state() == QProcess::NotRunning)
        return;
    m_helper.closeWriteChannel();
    if (!m_helper.waitForFinished(kStopTimeLimitMs)) {
        m_helper.kill();
        m_helper.waitForFinished(kStopTimeLimitMs);
    }
}

QString SmallDisk::path() const
{
    return QStringLiteral("/proc/%1/root%2").arg(m_helper.processId()).arg(m_mountPoint.path());
}

QString SmallDisk::filePath(const QString& name) const
{
    return path() + QLatin1Char('/') + name;
}

SmallDiskRun runOnSmallDisk(qint64 bytes, const QString& program, const QStringList& arguments)
{
    SmallDiskRun run;
    QTemporaryDir mountPoint;
    if (!mountPoint.isValid())
        return run;
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), mountPoint.path());
    helper.setProcessEnvironment(environment);
    helper.start(testBinaryDirectory() + QStringLiteral("/velk-test-small-disk"),
                 QStringList{QString::number(bytes), mountPoint.path(), QStringLiteral("--"), program} + arguments);
    if (!helper.waitForFinished(kRunTimeLimitMs) || helper.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = helper.exitCode();
    for (const QByteArray& line : helper.readAllStandardOutput().split('\n')) {
        if (line.startsWith("left "))
            run.left << QString::fromUtf8(line.mid(5));
        else if (!line.isEmpty())
            run.output += line;
    }
    return run;
}

qint64 smallDiskPageBytes()
{
    return qint64(::sysconf(_SC_PAGESIZE));
}

} // namespace velk::test
