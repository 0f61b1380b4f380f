#include "worker/sandbox/UserLockFile.h"

#include <QString>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {

namespace {

// The runtime directory is trusted only when nobody else can plant or swap
// files in it.
UniqueFd openPrivateRuntimeDirectory()
{
    const char* runtime = ::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return {};
    UniqueFd dir(::open(runtime, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir.isValid())
        return {};
    struct stat info {};
    if (::fstat(dir.get(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()
        || (info.st_mode & 07777) != 0700)
        return {};
    return dir;
}

QByteArray sharedTemporaryPath(const QByteArray& stem)
{
    return QByteArray("/tmp/") + stem + '.' + QByteArray::number(::geteuid()) + QByteArray(".lock");
}

bool isOwnRegularFile(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

} // namespace

QByteArray UserLockFile::path(const QByteArray& stem)
{
    const UniqueFd dir = openPrivateRuntimeDirectory();
    if (dir.isValid())
        return QByteArray(::getenv("XDG_RUNTIME_DIR")) + '/' + stem + QByteArray(".lock");
    return sharedTemporaryPath(stem);
}

UniqueFd UserLockFile::open(const QByteArray& stem)
{
    constexpr int kFlags = O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    const UniqueFd dir = openPrivateRuntimeDirectory();
    const QByteArray name = stem + QByteArray(".lock");
    UniqueFd fd(dir.isValid() ? ::openat(dir.get(), name.constData(), kFlags, 0600)
                              : ::open(sharedTemporaryPath(stem).constData(), kFlags, 0600));
    // In /tmp another user may have planted the name first.
    if (!fd.isValid() || !isOwnRegularFile(fd.get()))
        return {};
    return fd;
}

} // namespace velk
