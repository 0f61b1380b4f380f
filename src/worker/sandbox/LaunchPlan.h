#pragma once

// Everything the worker's side of the clone needs, prepared in the launching
// process before the clone: between clone3 and execve the child may only make
// async-signal-safe system calls, so it allocates nothing and reads only
// this. The plan borrows its descriptors; the sandbox owns them.

#include <QByteArray>

#include <linux/filter.h>
#include <sys/resource.h>

#include <array>
#include <vector>

namespace velk {

struct ResourceLimit {
    int resource = 0;
    rlimit value {};
};

struct LaunchPlan {
    QByteArray executable;
    std::vector<QByteArray> environment; // "NAME=value" from the allow list
    std::vector<char*> argv;             // null-terminated
    std::vector<char*> envp;             // null-terminated
    std::vector<sock_filter> filter;
    sock_fprog filterProgram {};
    std::array<ResourceLimit, 4> limits {};
    int rulesetFd = -1;
    int workingDirectoryFd = -1;
    int standardInputFd = -1;  // worker's read end
    int standardOutputFd = -1; // worker's write end
    int standardErrorFd = -1;  // the null device
};

// Fills argv, envp (the allow-listed environment), the filter program and
// the resource limits; false when the executable name cannot be passed on.
bool completeLaunchPlan(LaunchPlan& plan, int timeLimitMs);

} // namespace velk
