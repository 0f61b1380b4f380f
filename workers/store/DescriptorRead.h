#pragma once

// Reads from a descriptor until the buffer is full or the file ends,
// retrying interrupted reads. The store reads its key and records this way
// so that a file which grew after its size was checked is still noticed
// (callers size the buffer one byte past what they accept).

#include <QByteArray>

#include <cerrno>
#include <unistd.h>

namespace velk {

// The count read, or -1 on a read error.
inline qsizetype readUpTo(int fd, QByteArray& buffer)
{
    qsizetype held = 0;
    while (held < buffer.size()) {
        const ssize_t got = ::read(fd, buffer.data() + held, size_t(buffer.size() - held));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        held += got;
    }
    return held;
}

} // namespace velk
