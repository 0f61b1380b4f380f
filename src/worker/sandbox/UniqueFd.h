#pragma once

// Owns one file descriptor and closes it when it goes. Used by every step of
// the sandbox so that no error branch has to remember its own clean-up.

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace velk {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { reset(); }

    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

    void reset(int fd = -1)
    {
        // A failing close cannot be repaired: the descriptor is gone either
        // way on Linux, and retrying could close a reused number.
        if (m_fd >= 0)
            static_cast<void>(::close(m_fd));
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// Moves a descriptor that landed on 0, 1 or 2 (when the program runs with a
// standard stream closed) above them, so the worker's dup2 onto 0..2 cannot
// clobber it. Keeps close-on-exec.
inline bool moveAboveStandardStreams(UniqueFd& fd)
{
    if (!fd.isValid() || fd.get() > 2)
        return fd.isValid();
    UniqueFd moved(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 3));
    if (!moved.isValid())
        return false;
    fd = std::move(moved);
    return true;
}

// A close-on-exec pipe whose ends both lie above the standard streams.
inline bool makePipe(UniqueFd& readEnd, UniqueFd& writeEnd)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    readEnd.reset(ends[0]);
    writeEnd.reset(ends[1]);
    return moveAboveStandardStreams(readEnd) && moveAboveStandardStreams(writeEnd);
}

} // namespace velk
