#pragma once

// The one chunked copy of a file into another device: 1 MiB at a time, so no
// file is ever read whole into memory, bounded in bytes, and cancellable
// between chunks. Callers turn the outcome into their own sentence.

#include "worker/runner/CancelFlag.h"

#include <QFile>
#include <QIODevice>

namespace velk {

class FileCopier {
public:
    enum class Outcome { Copied, Cancelled, ReadFailed, TooLarge, WriteFailed };

    static constexpr qint64 kChunkBytes = 1048576;

    // Copies until the end of in. Stops when the flag (may be null) is set
    // before a chunk, when reading fails, when more than maxBytes would have
    // been copied (nothing beyond maxBytes is written), or when a write
    // falls short. copied holds the bytes written so far.
    static Outcome copy(QFile& in, QIODevice& out, qint64 maxBytes, const CancelFlag& cancel, qint64& copied);
};

} // namespace velk
