// Probes of the process's own state: privileges, seccomp mode, its place in
// the process tree and its resource ceilings. None of them changes anything.

#include "isolation/IsolationProbes.h"
#include "isolation/LockDownState.h"
#include "worker/sandbox/SandboxLimits.h"

#include <linux/capability.h>
#include <linux/seccomp.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velk::IsolationProbes {

namespace {

// Capability numbers fit in 64 bits of the kernel's sets; numbers past the
// kernel's last capability answer EINVAL.
constexpr int kCapabilityNumbers = 64;

// One capability query of prctl: 0 absent, 1 present, EINVAL past the last
// known capability. Anything else means the set cannot be trusted.
bool capabilityAbsent(long answer, int capability)
{
    if (answer == 0)
        return true;
    if (answer < 0 && errno == EINVAL)
        return capability > 0; // capability 0 always exists: EINVAL there means no answer at all
    return false;
}

bool boundingAndAmbientSetsEmpty()
{
    for (int cap = 0; cap < kCapabilityNumbers; ++cap) {
        if (!capabilityAbsent(prctl(PR_CAPBSET_READ, cap, 0, 0, 0), cap))
            return false;
        if (!capabilityAbsent(prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_IS_SET, cap, 0, 0), cap))
            return false;
    }
    return true;
}

// Soft and hard limit both: a soft limit alone could be raised again.
bool limitAtMost(int resource, std::uint64_t ceiling)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0)
        return false;
    return std::uint64_t(limit.rlim_cur) <= ceiling && std::uint64_t(limit.rlim_max) <= ceiling;
}

} // namespace

// Set by the launcher before the worker's execve; the lock-down sets it
// again itself, so what counts is the value it found on entry.
bool noNewPrivileges()
{
    return LockDownState::current().inheritedNoNewPrivileges && prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0) == 1;
}

// Root inside any namespace would own whatever that namespace owns.
bool unprivilegedUser()
{
    uid_t real = 0, effective = 0, saved = 0;
    if (getresuid(&real, &effective, &saved) != 0)
        return false;
    return real != 0 && effective != 0 && saved != 0;
}

// Effective, permitted and inheritable sets from capget, bounding and
// ambient sets from prctl: a capability in any of them could come back.
bool noCapabilities()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const auto& word : data) {
        if (word.effective != 0 || word.permitted != 0 || word.inheritable != 0)
            return false;
    }
    return boundingAndAmbientSetsEmpty();
}

// The launcher's system-call filter is what denies sockets and children;
// it must have been there before the lock-down added the worker's own.
bool seccompFilter()
{
    return LockDownState::current().inheritedSeccompFilter && prctl(PR_GET_SECCOMP, 0, 0, 0, 0) == SECCOMP_MODE_FILTER;
}

// PID 1 of its own PID namespace: nothing outside is visible or signalable,
// and the whole namespace dies with it.
bool pidOne()
{
    return getpid() == 1;
}

// The worker must not outlive the thread that launched it.
bool parentDeathSignal()
{
    int signal = 0;
    if (prctl(PR_GET_PDEATHSIG, &signal, 0, 0, 0) != 0)
        return false;
    return signal == SIGKILL;
}

// Its own session: no controlling terminal to inject input through.
bool sessionLeader()
{
    const pid_t session = getsid(0);
    return session >= 0 && session == getpid();
}

// The memory and CPU ceilings stand in for the job limits; no core file may
// carry document bytes out; the descriptor ceiling bounds the scan below.
bool resourceLimits()
{
    return limitAtMost(RLIMIT_AS, SandboxLimits::kAddressSpaceBytes)
        && limitAtMost(RLIMIT_CPU, SandboxLimits::kMaxCpuSeconds)
        && limitAtMost(RLIMIT_CORE, 0)
        && limitAtMost(RLIMIT_NOFILE, SandboxLimits::kMaxOpenFiles);
}

} // namespace velk::IsolationProbes
