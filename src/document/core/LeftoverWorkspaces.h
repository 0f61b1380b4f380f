#pragma once

// Private directories ("velk-pdf-XXXXXX" working copies, "velk-task-XXXXXX"
// task workspaces) normally go with their last holder. A process killed
// outright cannot remove them, so each directory is claimed by its creator
// with a lock on the directory itself, which the kernel drops when the
// process dies; the next start of the program removes every directory of
// ours that nobody claims any more. Another running instance keeps its
// directories: they stay claimed.
//
// A directory is removed only when all hold: its name is exactly one of our
// two templates, it is a real directory (not a link), owned by this user
// with owner-only access, older than the cleaning process, and unclaimed.
// Blocking file-system work; start-up calls it before any window shows.

#include <QDateTime>
#include <QString>

namespace velk {

class LeftoverWorkspaces {
public:
    // Claims a freshly created private directory for as long as the
    // returned descriptor stays open (-1 when it cannot be claimed).
    static int claim(const QString& directory);

    // Removes the unclaimed leftovers in `temporaryDirectory` last changed
    // before `olderThan`; answers how many went.
    static int removeFrom(const QString& temporaryDirectory, const QDateTime& olderThan);

    // The same in the system temporary location, for directories older
    // than this process.
    static int removeAtStart();

    // When this process started, from the kernel's own record; the current
    // time when that cannot be read.
    static QDateTime processStart();
};

} // namespace velk
