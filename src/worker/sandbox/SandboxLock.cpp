#include "worker/sandbox/SandboxLock.h"

#include "worker/sandbox/SandboxLimits.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr char kLockName[] = "velk-pdf-worker.lock";

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

QByteArray sharedTemporaryPath()
{
    return "/tmp/velk-pdf-worker." + QByteArray::number(::geteuid()) + ".lock";
}

bool isOwnRegularFile(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

void sleepOneSlice()
{
    timespec slice {};
    slice.tv_nsec = long(SandboxLimits::kLockPollMs) * 1000000L;
    // An interrupted sleep only makes this slice shorter.
    static_cast<void>(::nanosleep(&slice, nullptr));
}

} // namespace

QByteArray SandboxLock::filePath()
{
    const UniqueFd dir = openPrivateRuntimeDirectory();
    if (dir.isValid())
        return QByteArray(::getenv("XDG_RUNTIME_DIR")) + '/' + kLockName;
    return sharedTemporaryPath();
}

bool SandboxLock::open()
{
    constexpr int kFlags = O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    const UniqueFd dir = openPrivateRuntimeDirectory();
    if (dir.isValid())
        m_fd = UniqueFd(::openat(dir.get(), kLockName, kFlags, 0600));
    else
        m_fd = UniqueFd(::open(sharedTemporaryPath().constData(), kFlags, 0600));
    // In /tmp another user may have planted the name first.
    if (!m_fd.isValid() || !isOwnRegularFile(m_fd.get())) {
        m_fd.reset();
        return false;
    }
    return true;
}

bool SandboxLock::acquire(const SandboxDeadline& deadline)
{
    if (!m_fd.isValid())
        return false;
    for (;;) {
        if (::flock(m_fd.get(), LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return false;
        sleepOneSlice();
        if (deadline.isOver())
            return false;
    }
}

} // namespace velk
