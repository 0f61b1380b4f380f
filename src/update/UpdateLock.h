#pragma once

// The per-user lock around one check's use of the update floor: taken on
// the pool thread before the floor is read and held by the service until
// the new floor is written (or the check fails), so that two checks of one
// user, in one process or two, never both start from the same floor and
// the slower one never writes an older position over a newer one. Each
// holder opens its own descriptor (flock locks belong to the open file
// description), so two services of one process exclude each other too.
// Closing the descriptor, or the process ending, releases it.

#include "worker/runner/CancelFlag.h"

#include <QByteArray>

#include <memory>

namespace velk {

class UpdateLock {
public:
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

    // In $XDG_RUNTIME_DIR when that directory is the user's own with mode
    // 0700, else in /tmp under the user's id.
    static QByteArray filePath();

    // Waits for the lock, looking at the flag between attempts; null when
    // the flag was set or the lock file cannot be opened as the user's own.
    static std::shared_ptr<UpdateLock> acquire(const CancelFlag& cancel);

private:
    explicit UpdateLock(int fd);

    int m_fd = -1;
};

} // namespace velk
