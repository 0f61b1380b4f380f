#pragma once

// Holds this user's PDF-worker lock, so that every worker run of the user
// waits behind it (and notices cancellation while it waits): a query stays
// in flight, deterministically, for as long as a test needs. Other
// programs' runs wait too, so holds stay short.

#include <memory>

namespace velk {
class SandboxLock;
}

namespace velk::test {

class WorkerLockHold {
public:
    WorkerLockHold();
    ~WorkerLockHold();

    // True once the lock is held (waits for a run in progress to end).
    bool take();
    void release();

private:
    std::unique_ptr<SandboxLock> m_lock;
};

} // namespace velk::test
