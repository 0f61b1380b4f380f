#include "worker/sandbox/ChildSetup.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/close_range.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velk::ChildSetup {

namespace {

enum Step {
    kDeathSignal = 1, kParentGo, kSignals, kSession, kStandardStreams, kDescriptors,
    kWorkingDirectory, kLimits, kCapabilities, kNoNewPrivileges, kLandlock, kSeccomp, kExecute,
};

[[noreturn]] void fail(int errorFd, int step) noexcept
{
    const Failure failure {step, errno};
    // Best effort: the exit status alone already says "not started", so a
    // failed write changes nothing.
    if (::write(errorFd, &failure, sizeof failure) < 0)
        ::_exit(kSetupFailedStatus);
    ::_exit(kSetupFailedStatus);
}

// Handlers of the launching program must not run here or leak into the
// worker; the mask was blocked around the clone and is cleared last.
bool resetSignals() noexcept
{
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal == SIGKILL || signal == SIGSTOP)
            continue;
        // glibc keeps a few real-time signals for itself and answers EINVAL.
        if (::sigaction(signal, &defaultAction, nullptr) != 0 && errno != EINVAL)
            return false;
    }
    sigset_t none;
    return ::sigemptyset(&none) == 0 && ::sigprocmask(SIG_SETMASK, &none, nullptr) == 0;
}

bool waitForParent(int syncFd) noexcept
{
    char go = 0;
    for (;;) {
        const ssize_t got = ::read(syncFd, &go, 1);
        if (got == 1)
            return go == 'G';
        // End of file: the parent died or gave up before the id maps.
        if (got == 0 || errno != EINTR)
            return false;
    }
}

// Pipes and /dev/null go to 0, 1 and 2; a source already below 3 is first
// moved up so that one dup2 cannot clobber another's source.
bool placeStandardStreams(const LaunchPlan& plan) noexcept
{
    int sources[3] = {plan.standardInputFd, plan.standardOutputFd, plan.standardErrorFd};
    for (int& source : sources) {
        if (source < 3 && (source = ::fcntl(source, F_DUPFD_CLOEXEC, 3)) < 0)
            return false;
    }
    for (int target = 0; target < 3; ++target) {
        if (::dup2(sources[target], target) != target)
            return false;
    }
    return true;
}

bool applyLimits(const LaunchPlan& plan) noexcept
{
    for (const ResourceLimit& limit : plan.limits) {
        if (::setrlimit(limit.resource, &limit.value) != 0)
            return false;
    }
    return true;
}

// Empties the bounding and ambient sets, then every remaining set, so the
// worker can never regain a capability inside its namespace.
bool dropCapabilities() noexcept
{
    for (unsigned long capability = 0; capability < 64; ++capability) {
        if (::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) {
            if (errno == EINVAL)
                break; // past the kernel's last capability
            return false;
        }
    }
    if (::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0)
        return false;
    __user_cap_header_struct header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] {};
    return ::syscall(SYS_capset, &header, none) == 0;
}

} // namespace

void run(const LaunchPlan& plan, int syncFd, int errorFd) noexcept
{
    // The worker dies with the thread that launched it.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0) != 0)
        fail(errorFd, kDeathSignal);
    if (!waitForParent(syncFd))
        fail(errorFd, kParentGo);
    if (!resetSignals())
        fail(errorFd, kSignals);
    if (::setsid() < 0)
        fail(errorFd, kSession);
    if (!placeStandardStreams(plan))
        fail(errorFd, kStandardStreams);
    if (::syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) != 0)
        fail(errorFd, kDescriptors);
    if (::fchdir(plan.workingDirectoryFd) != 0)
        fail(errorFd, kWorkingDirectory);
    if (!applyLimits(plan))
        fail(errorFd, kLimits);
    if (!dropCapabilities())
        fail(errorFd, kCapabilities);
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        fail(errorFd, kNoNewPrivileges);
    if (::syscall(SYS_landlock_restrict_self, plan.rulesetFd, 0U) != 0)
        fail(errorFd, kLandlock);
    // Last: from here on the filter applies, and execve must remain allowed.
    if (::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &plan.filterProgram, 0, 0) != 0)
        fail(errorFd, kSeccomp);
    ::execve(plan.argv[0], plan.argv.data(), plan.envp.data());
    fail(errorFd, kExecute);
}

} // namespace velk::ChildSetup
