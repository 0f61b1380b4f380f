#pragma once

// One account's record file on disk: read whole and bounded, replaced
// atomically, removed. A record file must be a regular file: a symbolic
// link, a directory or a FIFO in its place is refused without blocking.

#include "worker/contract/SecretBytes.h"

#include <QString>

namespace velk {

enum class RecordFileStatus { Read, Missing, Unreadable };

struct RecordFileRead {
    RecordFileStatus status = RecordFileStatus::Unreadable;
    SecretBytes bytes;
};

class RecordFile {
public:
    // At most StoreLimits::kMaxStoredBytes; a larger file is Unreadable.
    static RecordFileRead read(const QString& path);

    // Replaces the file with the bytes, mode 0600, through a temporary file
    // renamed into place only when every byte reached it. On failure the
    // old file is untouched and no temporary file remains.
    static bool write(const QString& path, const SecretBytes& bytes);

    // True when the file is gone, including when there was none.
    static bool remove(const QString& path);
};

} // namespace velk
