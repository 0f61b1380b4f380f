#include "worker/sandbox/SandboxLock.h"

#include "worker/sandbox/SandboxLimits.h"
#include "worker/sandbox/UserLockFile.h"

#include <cerrno>
#include <sys/file.h>
#include <time.h>

namespace velk {

namespace {

constexpr char kLockStem[] = "velk-pdf-worker";

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
    return UserLockFile::path(kLockStem);
}

bool SandboxLock::open()
{
    m_fd = UserLockFile::open(kLockStem);
    return m_fd.isValid();
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
