#pragma once

// Holds the user's sandbox lock, so that every worker run of this user
// waits behind it: a render stays in flight, deterministically, for as long
// as a test needs. Other programs' runs wait too, so holds stay short.

#include <memory>

namespace velk {
class SandboxLock;
}

namespace velk::test {

class SandboxHold {
public:
    SandboxHold();
    ~SandboxHold();

    // True once the lock is held (waits for a run in progress to end).
    bool take();
    void release();

private:
    std::unique_ptr<SandboxLock> m_lock;
};

} // namespace velk::test
