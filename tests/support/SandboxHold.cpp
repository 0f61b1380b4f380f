#include "SandboxHold.h"

#include "worker/sandbox/SandboxDeadline.h"
#include "worker/sandbox/SandboxLock.h"

namespace velk::test {

namespace {

constexpr int kTakeTimeLimitMs = 30000;

} // namespace

SandboxHold::SandboxHold() = default;
SandboxHold::~SandboxHold() = default;

bool SandboxHold::take()
{
    auto lock = std::make_unique<SandboxLock>();
    const CancelCheck never;
    if (!lock->open() || !lock->acquire(SandboxDeadline(never, kTakeTimeLimitMs)))
        return false;
    m_lock = std::move(lock);
    return true;
}

void SandboxHold::release()
{
    m_lock.reset();
}

} // namespace velk::test
