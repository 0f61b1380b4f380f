#include "SmallDisk.h"

#include "TestPaths.h"

#include <unistd.h>

namespace velk::test {

namespace {

constexpr int kStartTimeLimitMs = 10000;
constexpr int kStopTimeLimitMs = 5000;

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

qint64 smallDiskPageBytes()
{
    return qint64(::sysconf(_SC_PAGESIZE));
}

} // namespace velk::test
