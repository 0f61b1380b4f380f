#pragma once

// Copies the user's file byte for byte into a new working copy and proves
// that the source did not change while it was read. Runs on a pool thread.

#include <QDateTime>
#include <QString>

#include <atomic>
#include <memory>

namespace velk {

struct SourceSnapshot {
    qint64 size = 0;
    QDateTime modified;
};

class SourceCopy {
public:
    // Empty on success, else the sentence for the user. The target must not
    // exist; it is created owner-only. On failure the caller discards the
    // workspace that holds the partial copy.
    static QString copy(const QString& source, const QString& target, const SourceSnapshot& before,
                        const std::shared_ptr<std::atomic<bool>>& cancel);

    static SourceSnapshot snapshot(const QString& path);
};

} // namespace velk
