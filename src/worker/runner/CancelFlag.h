#pragma once

// The cancellation flag a GUI object shares with its task, and the check
// the sandbox polls. A null flag means the task cannot be cancelled.

#include "worker/sandbox/Sandbox.h"

#include <atomic>
#include <memory>

namespace velk {

using CancelFlag = std::shared_ptr<std::atomic<bool>>;

// True once the flag is set; always false for a null flag. The check keeps
// the flag alive for as long as the sandbox holds it.
CancelCheck cancelCheckFor(CancelFlag flag);

} // namespace velk
