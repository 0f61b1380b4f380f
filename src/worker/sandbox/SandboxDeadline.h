#pragma once

// The time budget of one run: started before the lock wait, so waiting for
// another run counts against the caller's limit. Read on the calling thread.

#include "worker/sandbox/Sandbox.h"

#include <chrono>

namespace velk {

class SandboxDeadline {
public:
    SandboxDeadline(const CancelCheck& cancel, int timeLimitMs)
        : m_cancel(cancel), m_start(std::chrono::steady_clock::now()), m_limit(timeLimitMs)
    {
    }

    // True once the caller cancelled or the limit has passed.
    bool isOver() const
    {
        if (m_cancel && m_cancel())
            return true;
        return std::chrono::steady_clock::now() - m_start > m_limit;
    }

private:
    const CancelCheck& m_cancel;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::milliseconds m_limit;
};

} // namespace velk
