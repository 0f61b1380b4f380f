#pragma once

// The per-user lock that puts sandbox runs strictly one after another across
// every process and thread of the user. Each run opens its own descriptor, so
// two threads of one process exclude each other too (flock locks belong to
// the open file description, not to the process). Held from before the first
// grant until the worker is gone; closing the descriptor releases it.

#include "worker/sandbox/SandboxDeadline.h"
#include "worker/sandbox/UniqueFd.h"

#include <QByteArray>

namespace velk {

class SandboxLock {
public:
    // The lock file of the calling user: in $XDG_RUNTIME_DIR when that
    // directory is the user's own with mode 0700, else in /tmp.
    static QByteArray filePath();

    // Opens (or creates) the lock file; false when it cannot be opened or
    // belongs to someone else.
    bool open();

    // Polls for the lock in slices; false when the deadline ends the wait or
    // the lock cannot be taken at all.
    bool acquire(const SandboxDeadline& deadline);

private:
    UniqueFd m_fd;
};

} // namespace velk
