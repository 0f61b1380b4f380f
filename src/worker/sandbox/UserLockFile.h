#pragma once

// The calling user's lock files: in $XDG_RUNTIME_DIR when that directory is
// the user's own with mode 0700, else in /tmp under a name carrying the
// user id. Shared by every per-user lock (worker runs, the update record).

#include "worker/sandbox/UniqueFd.h"

#include <QByteArray>

namespace velk {

class UserLockFile {
public:
    // "<stem>.lock" in the private runtime directory, else
    // "/tmp/<stem>.<uid>.lock".
    static QByteArray path(const QByteArray& stem);

    // Opens (or creates) that file; invalid when it cannot be opened or is
    // not a regular file of the calling user.
    static UniqueFd open(const QByteArray& stem);
};

} // namespace velk
