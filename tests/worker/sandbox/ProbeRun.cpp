#include "ProbeRun.h"

#include "worker/sandbox/SandboxLock.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velk::test {

QString probeDirectory() { return QStringLiteral(VELK_SANDBOX_PROBE_DIR); }

QString probeProgram() { return probeDirectory() + QStringLiteral("/velk-sandbox-probe"); }

SandboxResult runProbe(const QByteArray& command, const ProbeOptions& options, qsizetype requestSize)
{
    QByteArray request = command + '\n';
    if (requestSize > request.size())
        request.append(requestSize - request.size(), ' ');
    return runSandboxedProcess(probeProgram(), probeDirectory(), options.readList, options.writeDirectory,
                               request, options.cancel, options.timeLimitMs);
}

bool processNamed(const QByteArray& name)
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        QFile comm(QStringLiteral("/proc/") + entry + QStringLiteral("/comm"));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            return true;
    }
    return false;
}

bool sandboxLockIsFree()
{
    const int fd = ::open(SandboxLock::filePath().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace velk::test
