#pragma once

// The worker's side of the clone, from clone3 to execve. Runs in the fresh
// child only; makes nothing but async-signal-safe system calls and reads only
// the prepared plan. Any failure is reported on the error pipe and ends the
// child before execve.

#include "worker/sandbox/LaunchPlan.h"

namespace velk::ChildSetup {

// Exit status of a child that failed before execve.
inline constexpr int kSetupFailedStatus = 127;

// What the child writes to the error pipe before giving up.
struct Failure {
    int step = 0;
    int error = 0;
};

// syncFd: read end on which the parent sends one byte once the id maps are
// written; errorFd: close-on-exec write end that execve closes silently.
[[noreturn]] void run(const LaunchPlan& plan, int syncFd, int errorFd) noexcept;

} // namespace velk::ChildSetup
