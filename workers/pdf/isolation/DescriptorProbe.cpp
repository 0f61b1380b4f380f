// Which descriptors the launcher handed over: exactly the request pipe on 0,
// the reply pipe on 1 and the null device on 2. Anything else would be a
// door out of the sandbox (a socket, a directory, a host file).

#include "isolation/IsolationProbes.h"
#include "isolation/LockDownState.h"
#include "worker/sandbox/SandboxLimits.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velk::IsolationProbes {

namespace {

// The null device's fixed character-device number on Linux.
constexpr unsigned kNullMajor = 1;
constexpr unsigned kNullMinor = 3;

bool isPipe(int fd, int accessMode)
{
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode))
        return false;
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) == accessMode;
}

bool isNullDevice(int fd)
{
    struct stat st{};
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == makedev(kNullMajor, kNullMinor);
}

bool standardDescriptorsAsExpected()
{
    return isPipe(STDIN_FILENO, O_RDONLY) && isPipe(STDOUT_FILENO, O_WRONLY) && isNullDevice(STDERR_FILENO);
}

// No descriptor can be opened at or above the hard descriptor ceiling, so
// scanning below it covers every descriptor the process can hold once the
// ceiling is the sandbox's; a higher ceiling cannot be scanned cheaply and
// fails the probe.
bool nothingAboveStandardDescriptors()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (std::uint64_t(limit.rlim_max) > SandboxLimits::kMaxOpenFiles)
        return false;
    for (int fd = STDERR_FILENO + 1; fd < int(limit.rlim_max); ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            return false;
    }
    return true;
}

} // namespace

bool onlyStandardDescriptorsOpen()
{
    return standardDescriptorsAsExpected() && nothingAboveStandardDescriptors();
}

// The application object opens descriptors of its own (its event
// dispatcher's wake-up descriptor), so the scan result recorded at lock-down
// counts; the three standard ones are checked again as they are now.
bool inheritedDescriptors()
{
    const LockDownState::Record& record = LockDownState::current();
    return record.lockedDown && record.inheritedOnlyStandardDescriptors && standardDescriptorsAsExpected();
}

} // namespace velk::IsolationProbes
