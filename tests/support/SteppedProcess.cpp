#include "SteppedProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace velk::test {

namespace {

// How long the child runs between two looks at it.
constexpr unsigned long kSliceMicroseconds = 300;
constexpr int kEndTimeLimitMs = 10000;

// The parent process id and the name of a process; ppid -1 when gone.
std::pair<qint64, QByteArray> statusOf(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {-1, {}};
    const QByteArray line = stat.readAll();
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return {-1, {}};
    const QList<QByteArray> rest = line.mid(close + 2).split(' ');
    if (rest.size() < 2 || rest.at(0) == "Z")
        return {-1, {}};
    return {rest.at(1).toLongLong(), line.mid(open + 1, close - open - 1)};
}

} // namespace

SteppedProcess::~SteppedProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(kEndTimeLimitMs);
    }
}

bool SteppedProcess::start(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment)
{
    m_process.setProcessEnvironment(environment);
    m_process.start(program, arguments);
    return m_process.waitForStarted();
}

bool SteppedProcess::stopWhen(const std::function<bool(qint64)>& reached, int timeLimitMs)
{
    const pid_t pid = pid_t(m_process.processId());
    const QDeadlineTimer deadline(timeLimitMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (::kill(pid, SIGSTOP) != 0)
            return false;
        // Stopped: its descriptors and files stand still while we look.
        if (reached(pid))
            return true;
        ::kill(pid, SIGCONT);
        QThread::usleep(kSliceMicroseconds);
        // Reaps the child if it ended by itself.
        m_process.waitForFinished(0);
    }
    return false;
}

bool SteppedProcess::killWhen(const std::function<bool(qint64)>& reached, int timeLimitMs)
{
    if (!stopWhen(reached, timeLimitMs))
        return false;
    ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished(kEndTimeLimitMs);
    return true;
}

void SteppedProcess::resume()
{
    if (m_process.state() == QProcess::Running)
        ::kill(pid_t(m_process.processId()), SIGCONT);
}

int SteppedProcess::waitForExit(int timeLimitMs)
{
    if (!m_process.waitForFinished(timeLimitMs) && m_process.state() != QProcess::NotRunning)
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QByteArray SteppedProcess::output()
{
    return m_process.readAllStandardOutput();
}

QStringList openFiles(qint64 pid)
{
    QStringList files;
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(descriptors.filePath(fd));
        if (!target.isEmpty() && !QFileInfo(target).isDir())
            files << target;
    }
    return files;
}

bool holdsFileUnder(qint64 pid, const QString& directory)
{
    const QString prefix = directory + QLatin1Char('/');
    for (const QString& file : openFiles(pid)) {
        if (file.startsWith(prefix))
            return true;
    }
    return false;
}

bool hasDescendantNamed(qint64 pid, const QByteArray& name)
{
    return descendantNamed(pid, name) != 0;
}

qint64 descendantNamed(qint64 pid, const QByteArray& name)
{
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        auto [parent, command] = statusOf(entry);
        if (command != name)
            continue;
        // Up the chain of parents to the process or to the start.
        for (int depth = 0; parent > 1 && depth < 16; ++depth) {
            if (parent == pid)
                return entry.toLongLong();
            parent = statusOf(QString::number(parent)).first;
        }
    }
    return 0;
}

bool isAlive(qint64 pid)
{
    return statusOf(QString::number(pid)).first >= 0;
}

namespace {

// Bytes the process has written so far, to pipes and files alike; -1 when
// it is gone.
qint64 bytesWritten(qint64 pid)
{
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = io.readLine(); !line.isEmpty(); line = io.readLine()) {
        if (line.startsWith("wchar: "))
            return line.mid(7).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

bool killWorkerOnceWriting(qint64 parent, const std::function<bool()>& isDone, int timeLimitMs)
{
    const QDeadlineTimer deadline(timeLimitMs);
    qint64 worker = 0;
    while (worker == 0 && !isDone() && !deadline.hasExpired())
        worker = descendantNamed(parent, "velk-pdf-worker");
    if (worker == 0 || ::kill(pid_t(worker), SIGSTOP) != 0)
        return false;
    while (!deadline.hasExpired()) {
        const qint64 written = bytesWritten(worker);
        if (written < 0)
            return false;
        if (written > 0) {
            ::kill(pid_t(worker), SIGKILL);
            return true;
        }
        ::kill(pid_t(worker), SIGCONT);
        QThread::usleep(kSliceMicroseconds);
        ::kill(pid_t(worker), SIGSTOP);
    }
    ::kill(pid_t(worker), SIGKILL);
    return false;
}

QStringList entriesStartingWith(const QString& directory, const QStringList& prefixes)
{
    QStringList found;
    for (const QString& name :
         QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        for (const QString& prefix : prefixes) {
            if (name.startsWith(prefix)) {
                found << name;
                break;
            }
        }
    }
    return found;
}

} // namespace velk::test
