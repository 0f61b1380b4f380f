#include "update/UpdateLock.h"

#include "update/UpdateLimits.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr char kLockName[] = "velk-update.lock";
constexpr int kOpenFlags = O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC;

// The runtime directory is used only when nobody else can plant or swap
// files in it.
int openPrivateRuntimeDirectory()
{
    const char* runtime = ::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return -1;
    const int dir = ::open(runtime, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (dir >= 0
        && (::fstat(dir, &info) != 0 || info.st_uid != ::geteuid() || (info.st_mode & 07777) != 0700)) {
        ::close(dir);
        return -1;
    }
    return dir;
}

QByteArray sharedTemporaryPath()
{
    return "/tmp/velk-update." + QByteArray::number(::geteuid()) + ".lock";
}

// In /tmp another user may have planted the name first.
bool isOwnRegularFile(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

int openLockFile()
{
    const int dir = openPrivateRuntimeDirectory();
    int fd = -1;
    if (dir >= 0) {
        fd = ::openat(dir, kLockName, kOpenFlags, 0600);
        ::close(dir);
    } else {
        fd = ::open(sharedTemporaryPath().constData(), kOpenFlags, 0600);
    }
    if (fd >= 0 && !isOwnRegularFile(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void sleepOnePoll()
{
    timespec slice {};
    slice.tv_nsec = long(UpdateLimits::kLockPollMs) * 1000000L;
    // An interrupted sleep only makes this poll shorter.
    static_cast<void>(::nanosleep(&slice, nullptr));
}

} // namespace

UpdateLock::UpdateLock(int fd)
    : m_fd(fd)
{
}

UpdateLock::~UpdateLock()
{
    ::close(m_fd);
}

QByteArray UpdateLock::filePath()
{
    const int dir = openPrivateRuntimeDirectory();
    if (dir < 0)
        return sharedTemporaryPath();
    ::close(dir);
    return QByteArray(::getenv("XDG_RUNTIME_DIR")) + '/' + kLockName;
}

std::shared_ptr<UpdateLock> UpdateLock::acquire(const CancelFlag& cancel)
{
    const int fd = openLockFile();
    if (fd < 0)
        return nullptr;
    for (;;) {
        if (cancel && cancel->load())
            break;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return std::shared_ptr<UpdateLock>(new UpdateLock(fd));
        if (errno != EINTR && errno != EWOULDBLOCK)
            break;
        if (errno == EWOULDBLOCK)
            sleepOnePoll();
    }
    ::close(fd);
    return nullptr;
}

} // namespace velk
