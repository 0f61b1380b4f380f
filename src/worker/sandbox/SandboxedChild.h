#pragma once

// One worker process, launched with clone3 into fresh user, PID, network,
// IPC, UTS and cgroup namespaces and seen only through its pidfd. The worker
// is PID 1 of its PID namespace, so when it ends every process it could have
// left behind ends with it. Used on the run's calling thread, which must stay
// alive while the worker runs (the parent-death signal follows the thread).
// Owns the pidfd; a child still there on destruction is killed and reaped.

#include "worker/sandbox/LaunchPlan.h"
#include "worker/sandbox/SandboxDeadline.h"
#include "worker/sandbox/UniqueFd.h"

#include <QtGlobal>

#include <sys/types.h>

namespace velk {

class SandboxedChild {
public:
    enum class Start { Started, Failed, Expired };

    SandboxedChild() = default;
    ~SandboxedChild();
    SandboxedChild(const SandboxedChild&) = delete;
    SandboxedChild& operator=(const SandboxedChild&) = delete;

    // Clones, writes the id maps, lets the child finish its set-up and waits
    // until execve has happened (Started), the child failed before it
    // (Failed) or the deadline ended the wait (Expired).
    Start start(const LaunchPlan& plan, const SandboxDeadline& deadline);

    int pidfd() const { return m_pidfd.get(); }
    bool kill();
    // Waits up to timeoutMs for the worker to end; true once it has.
    bool waitForExit(int timeoutMs);
    // Collects the exit status of an ended worker; a signal death reads as
    // 128 + the signal number. False when the status cannot be read.
    bool reap(quint32& status);

private:
    bool writeIdMaps();
    Start awaitExecve(int errorFd, const SandboxDeadline& deadline);

    UniqueFd m_pidfd;
    pid_t m_pid = -1;
    bool m_reaped = false;
};

} // namespace velk
