#include "store/StoreDirectory.h"

#include "worker/sandbox/UniqueFd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace velk {

namespace {

// Fixed forever: the records of earlier versions live there.
constexpr char kSubdirectory[] = "secure-store";
constexpr mode_t kDirectoryMode = 0700;

} // namespace

QString StoreDirectory::path()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty())
        return {};
    return QDir(base).filePath(QString::fromLatin1(kSubdirectory));
}

bool StoreDirectory::prepare(const QString& path)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Made private from the start, so no record is ever reachable by others.
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), kDirectoryMode) != 0 && errno != EEXIST)
        return false;
    const UniqueFd directory(::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!directory.isValid() || ::fstat(directory.get(), &status) != 0)
        return false;
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid())
        return false;
    if ((status.st_mode & 07777) == kDirectoryMode)
        return true;
    return ::fchmod(directory.get(), kDirectoryMode) == 0;
}

} // namespace velk
