#pragma once

// Owns one file descriptor and closes it when the probe that opened it
// returns, on every path.

#include <unistd.h>

namespace velk {

class ScopedDescriptor {
public:
    explicit ScopedDescriptor(int fd) : fd_(fd) {}
    ~ScopedDescriptor()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    ScopedDescriptor(const ScopedDescriptor&) = delete;
    ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_;
};

} // namespace velk
