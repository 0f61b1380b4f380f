#include "update/UpdateLock.h"

#include "update/UpdateLimits.h"
#include "worker/sandbox/UserLockFile.h"

#include <cerrno>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr char kLockStem[] = "velk-update";

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
    return UserLockFile::path(kLockStem);
}

std::shared_ptr<UpdateLock> UpdateLock::acquire(const CancelFlag& cancel)
{
    const int fd = UserLockFile::open(kLockStem).release();
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
