#include "isolation/IsolationProbes.h"

#include "isolation/LockDownState.h"

#include <sys/prctl.h>

namespace velk::IsolationProbes {

namespace {

// The lock-down ran completely and the process is still not dumpable, so
// no other process of the same user can read its memory or ptrace it.
bool processLockedDown()
{
    return LockDownState::current().lockedDown && prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0;
}

constexpr IsolationProbe kProbes[] = {
    {"processLockedDown", processLockedDown},
    {"noNewPrivileges", noNewPrivileges},
    {"unprivilegedUser", unprivilegedUser},
    {"noCapabilities", noCapabilities},
    {"seccompFilter", seccompFilter},
    {"foreignUserNamespaces", foreignUserNamespaces},
    {"pidOne", pidOne},
    {"parentDeathSignal", parentDeathSignal},
    {"sessionLeader", sessionLeader},
    {"resourceLimits", resourceLimits},
    {"inheritedDescriptors", inheritedDescriptors},
    {"rootDirectoryRefused", rootDirectoryRefused},
    {"temporaryFileRefused", temporaryFileRefused},
    {"socketsRefused", socketsRefused},
    {"ioUringRefused", ioUringRefused},
    {"executionRefused", executionRefused},
    {"processCreationRefused", processCreationRefused},
};

} // namespace

std::span<const IsolationProbe> all()
{
    return kProbes;
}

} // namespace velk::IsolationProbes
