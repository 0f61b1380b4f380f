#pragma once

// The documents opened most recently, newest first, at most ten, kept in
// the settings under "recent/". Only each file's path and the time it was
// opened are recorded; nothing else about the user's documents. Entries
// that cannot be read back (damaged settings) are skipped. GUI thread.

#include <QDateTime>
#include <QList>
#include <QString>

class QSettings;

namespace velk {

struct RecentFile {
    QString path;        // absolute, as it was opened
    QDateTime openedAt;  // invalid when not recorded
};

class RecentFiles {
public:
    static QList<RecentFile> entries(const QSettings& settings);
    // path moves to the front (a second entry of it goes); the oldest
    // entries beyond kMaxEntries are dropped.
    static void add(QSettings& settings, const QString& path, const QDateTime& openedAt);
    static void clear(QSettings& settings);

    static constexpr int kMaxEntries = 10;
    static constexpr int kMaxPathLength = 4096;
};

} // namespace velk
