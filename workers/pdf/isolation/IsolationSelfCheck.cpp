#include "isolation/IsolationSelfCheck.h"

#include "isolation/ExecFilter.h"
#include "isolation/IsolationProbes.h"
#include "isolation/LockDownState.h"

#include <linux/seccomp.h>

#include <sys/prctl.h>

namespace velk {

bool IsolationSelfCheck::passes()
{
    for (const IsolationProbe& probe : IsolationProbes::all()) {
        if (!probe.holds())
            return false;
    }
    return true;
}

void IsolationSelfCheck::lockDownProcess()
{
    // Judged before this function changes anything: what the launcher
    // handed over, not what the worker did to itself.
    LockDownState::Record record;
    record.inheritedNoNewPrivileges = prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0) == 1;
    record.inheritedSeccompFilter = prctl(PR_GET_SECCOMP, 0, 0, 0, 0) == SECCOMP_MODE_FILTER;
    record.inheritedOnlyStandardDescriptors = IsolationProbes::onlyStandardDescriptorsOpen();

    // Each step is attempted even when an earlier one failed, so the
    // process ends up as restricted as it can be; the self-check then
    // refuses work because lockedDown stays false.
    const bool notDumpable = prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    const bool noNewPrivileges = prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0;
    const bool execRefused = ExecFilter::install();
    record.lockedDown = notDumpable && noNewPrivileges && execRefused;
    LockDownState::store(record);
}

} // namespace velk
