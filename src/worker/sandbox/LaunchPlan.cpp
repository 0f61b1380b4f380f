#include "worker/sandbox/LaunchPlan.h"

#include "worker/sandbox/SandboxLimits.h"
#include "worker/sandbox/SeccompPolicy.h"
#include "worker/sandbox/WorkerEnvironment.h"

#include <algorithm>
#include <unistd.h>

extern char** environ;

namespace velk {

namespace {

// The worker's environment from the allow list, copied once from the
// parent's: other threads may change it later.
void buildEnvironment(LaunchPlan& plan)
{
    plan.environment = WorkerEnvironment::build(environ);
    plan.envp.clear();
    for (QByteArray& entry : plan.environment)
        plan.envp.push_back(entry.data());
    plan.envp.push_back(nullptr);
}

// Never above the caller's own hard limit: raising it needs a capability the
// worker does not have, and lowering is all the sandbox wants.
bool boundedLimit(int resource, rlim_t wanted, ResourceLimit& limit)
{
    rlimit current {};
    if (::getrlimit(resource, &current) != 0)
        return false;
    const rlim_t value = current.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, current.rlim_max);
    limit.resource = resource;
    limit.value.rlim_cur = value;
    limit.value.rlim_max = value;
    return true;
}

bool fillLimits(LaunchPlan& plan, int timeLimitMs)
{
    // CPU seconds: the wall-clock limit rounded up, so CPU time never ends a
    // run the caller's limit still allows.
    const rlim_t cpuSeconds = (rlim_t(timeLimitMs) + 999) / 1000;
    return boundedLimit(RLIMIT_AS, rlim_t(SandboxLimits::kAddressSpaceBytes), plan.limits[0])
        && boundedLimit(RLIMIT_CPU, cpuSeconds, plan.limits[1])
        && boundedLimit(RLIMIT_CORE, 0, plan.limits[2])
        && boundedLimit(RLIMIT_NOFILE, rlim_t(SandboxLimits::kMaxOpenFiles), plan.limits[3]);
}

} // namespace

bool completeLaunchPlan(LaunchPlan& plan, int timeLimitMs)
{
    if (plan.executable.isEmpty() || plan.executable.contains('\0'))
        return false;
    plan.argv = {plan.executable.data(), nullptr};
    buildEnvironment(plan);
    if (!fillLimits(plan, timeLimitMs))
        return false;
    plan.filter = SeccompPolicy::buildProgram();
    if (plan.filter.empty() || plan.filter.size() > BPF_MAXINSNS)
        return false;
    plan.filterProgram.len = static_cast<unsigned short>(plan.filter.size());
    plan.filterProgram.filter = plan.filter.data();
    return true;
}

} // namespace velk
