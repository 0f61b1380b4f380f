#include "worker/sandbox/SandboxedChild.h"

#include "worker/sandbox/ChildSetup.h"
#include "worker/sandbox/SandboxLimits.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <linux/sched.h>
#include <poll.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr std::uint64_t kNamespaces = CLONE_NEWUSER | CLONE_NEWPID | CLONE_NEWNET | CLONE_NEWIPC
    | CLONE_NEWUTS | CLONE_NEWCGROUP;
constexpr int kWaitPidfd = 3; // P_PIDFD, newer than the C library headers
constexpr int kExitStatusKillWaitMs = 5000;

// The maps must arrive in one write each.
bool writeProcFile(int procDir, const char* name, const char* text, std::size_t length)
{
    const UniqueFd file(::openat(procDir, name, O_WRONLY | O_CLOEXEC));
    return file.isValid() && ::write(file.get(), text, length) == ssize_t(length);
}

// clone3 with all signals blocked, so no handler of this program runs in the
// child before it resets them. The child returns 0 with the mask still full.
long cloneBlocked(clone_args& args)
{
    sigset_t all;
    sigset_t previous;
    if (::sigfillset(&all) != 0 || ::pthread_sigmask(SIG_BLOCK, &all, &previous) != 0)
        return -1;
    const long pid = ::syscall(SYS_clone3, &args, sizeof args);
    if (pid == 0)
        return 0;
    const int cloneErrno = errno;
    const bool restored = ::pthread_sigmask(SIG_SETMASK, &previous, nullptr) == 0;
    errno = cloneErrno;
    // A caller thread left with every signal blocked counts as a failed start.
    return restored || pid < 0 ? pid : -pid;
}

} // namespace

SandboxedChild::~SandboxedChild()
{
    if (!m_pidfd.isValid() || m_reaped)
        return;
    // A worker that already ended refuses the signal; it is reaped all the same.
    static_cast<void>(kill());
    quint32 ignored = 0;
    if (waitForExit(kExitStatusKillWaitMs))
        static_cast<void>(reap(ignored));
}

SandboxedChild::Start SandboxedChild::start(const LaunchPlan& plan, const SandboxDeadline& deadline)
{
    UniqueFd syncRead, syncWrite, errorRead, errorWrite;
    if (!makePipe(syncRead, syncWrite) || !makePipe(errorRead, errorWrite))
        return Start::Failed;
    int pidfd = -1;
    clone_args args {};
    args.flags = kNamespaces | CLONE_PIDFD;
    args.pidfd = std::uint64_t(reinterpret_cast<std::uintptr_t>(&pidfd));
    // No exit signal: no SIGCHLD handler or wait-for-any elsewhere in the
    // program can see, let alone reap, this child.
    args.exit_signal = 0;
    const long pid = cloneBlocked(args);
    if (pid == 0)
        ChildSetup::run(plan, syncRead.get(), errorWrite.get());
    if (pidfd >= 0)
        m_pidfd.reset(pidfd);
    if (pid < 0)
        return Start::Failed;
    m_pid = pid_t(pid);
    syncRead.reset();
    errorWrite.reset();
    if (!writeIdMaps())
        return Start::Failed;
    const char go = 'G';
    if (::write(syncWrite.get(), &go, 1) != 1)
        return Start::Failed;
    syncWrite.reset();
    return awaitExecve(errorRead.get(), deadline);
}

bool SandboxedChild::writeIdMaps()
{
    char procPath[32];
    std::snprintf(procPath, sizeof procPath, "/proc/%ld", long(m_pid));
    const UniqueFd procDir(::open(procPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!procDir.isValid())
        return false;
    // One unprivileged id inside, mapped to the launching user; never 0.
    char uidMap[64];
    char gidMap[64];
    const int uidLength = std::snprintf(uidMap, sizeof uidMap, "%u %u 1\n",
                                        unsigned(SandboxLimits::kSandboxUid), unsigned(::geteuid()));
    const int gidLength = std::snprintf(gidMap, sizeof gidMap, "%u %u 1\n",
                                        unsigned(SandboxLimits::kSandboxGid), unsigned(::getegid()));
    static_assert(SandboxLimits::kSandboxUid != 0 && SandboxLimits::kSandboxGid != 0);
    constexpr char deny[] = "deny";
    return uidLength > 0 && gidLength > 0
        && writeProcFile(procDir.get(), "setgroups", deny, sizeof deny - 1)
        && writeProcFile(procDir.get(), "uid_map", uidMap, std::size_t(uidLength))
        && writeProcFile(procDir.get(), "gid_map", gidMap, std::size_t(gidLength));
}

// The error pipe is close-on-exec: end of file without a byte means execve
// went through; a failure record means the child gave up before it.
SandboxedChild::Start SandboxedChild::awaitExecve(int errorFd, const SandboxDeadline& deadline)
{
    for (;;) {
        pollfd entry {errorFd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, SandboxLimits::kReadWaitMs);
        if (ready < 0 && errno != EINTR)
            return Start::Failed;
        if (ready > 0) {
            ChildSetup::Failure failure;
            const ssize_t got = ::read(errorFd, &failure, sizeof failure);
            if (got == 0)
                return Start::Started;
            if (got > 0 || errno != EINTR)
                return Start::Failed;
        }
        if (deadline.isOver())
            return Start::Expired;
    }
}

bool SandboxedChild::kill()
{
    return m_pidfd.isValid() && !m_reaped && ::syscall(SYS_pidfd_send_signal, m_pidfd.get(), SIGKILL, nullptr, 0U) == 0;
}

bool SandboxedChild::waitForExit(int timeoutMs)
{
    if (!m_pidfd.isValid())
        return false;
    if (m_reaped)
        return true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        using std::chrono::duration_cast;
        const long long left = std::max<long long>(
            0, duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
        pollfd entry {m_pidfd.get(), POLLIN, 0};
        const int ready = ::poll(&entry, 1, int(left));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready == 0 && left == 0)
            return false;
    }
}

bool SandboxedChild::reap(quint32& status)
{
    if (!m_pidfd.isValid() || m_reaped)
        return false;
    siginfo_t info {};
    int result = 0;
    do
        result = ::waitid(idtype_t(kWaitPidfd), id_t(m_pidfd.get()), &info, WEXITED | WNOHANG | __WALL);
    while (result != 0 && errno == EINTR);
    if (result != 0 || info.si_pid == 0)
        return false;
    m_reaped = true;
    if (info.si_code == CLD_EXITED)
        status = quint32(info.si_status);
    else
        status = 128U + quint32(info.si_status);
    return true;
}

} // namespace velk
