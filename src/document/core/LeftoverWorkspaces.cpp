#include "document/core/LeftoverWorkspaces.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace velk {

namespace {

// QTemporaryDir replaces the six X of our templates with these characters.
const QRegularExpression& leftoverName()
{
    static const QRegularExpression pattern(QStringLiteral("^velk-(pdf|task)-[A-Za-z0-9]{6}$"));
    return pattern;
}

constexpr mode_t kOwnerOnly = 0700;

qint64 millisecondsOf(const timespec& time)
{
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool isOursAndOld(int fd, qint64 olderThanMs)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()
        || (info.st_mode & 07777) != kOwnerOnly)
        return false;
    return millisecondsOf(info.st_mtim) < olderThanMs && millisecondsOf(info.st_ctim) < olderThanMs;
}

// Removes one entry of `parent` when it is an unclaimed leftover of ours.
bool removeIfLeftover(int parent, const QString& parentPath, const QString& name, qint64 olderThanMs)
{
    // O_NOFOLLOW: a link named like ours is never followed, let alone
    // emptied.
    const Descriptor directory(
        ::openat(parent, QFile::encodeName(name).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (directory.get() < 0 || !isOursAndOld(directory.get(), olderThanMs))
        return false;
    // Held while removing, so that two starting instances never race.
    if (::flock(directory.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    // Removes links inside without following them.
    return QDir(parentPath + QLatin1Char('/') + name).removeRecursively();
}

// Clock ticks after boot at which this process started; -1 when unknown.
qint64 startTicks()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces and parentheses; fields count from
    // after its last closing parenthesis, where field 3 begins.
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');
    constexpr int kStartTimeField = 22 - 3;
    if (fields.size() <= kStartTimeField)
        return -1;
    bool ok = false;
    const qint64 ticks = fields.at(kStartTimeField).toLongLong(&ok);
    return ok ? ticks : -1;
}

} // namespace

int LeftoverWorkspaces::claim(const QString& directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int LeftoverWorkspaces::removeFrom(const QString& temporaryDirectory, const QDateTime& olderThan)
{
    if (temporaryDirectory.isEmpty() || !olderThan.isValid())
        return 0;
    const Descriptor parent(
        ::open(QFile::encodeName(temporaryDirectory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.get() < 0)
        return 0;
    const QStringList names = QDir(temporaryDirectory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                                 | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    int removed = 0;
    for (const QString& name : names) {
        if (leftoverName().match(name).hasMatch()
            && removeIfLeftover(parent.get(), temporaryDirectory, name, olderThan.toMSecsSinceEpoch()))
            ++removed;
    }
    return removed;
}

int LeftoverWorkspaces::removeAtStart()
{
    return removeFrom(QDir::tempPath(), processStart());
}

QDateTime LeftoverWorkspaces::processStart()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 ticks = startTicks();
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    timespec sinceBoot {};
    if (ticks < 0 || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0)
        return now;
    // The kernel counts the start in whole ticks, rounded down: the start
    // found here is never later than the real one, so nothing younger than
    // the process is ever taken.
    const qint64 ageMs = millisecondsOf(sinceBoot) - ticks * 1000 / ticksPerSecond;
    return ageMs < 0 ? now : now.addMSecs(-ageMs);
}

} // namespace velk
