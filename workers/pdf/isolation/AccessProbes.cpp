// Probes of file-system and network reach. Each tries the forbidden thing
// for real; when it unexpectedly succeeds the probe undoes it at once (the
// descriptor is closed, the probe file removed) and answers false.

#include "isolation/IsolationProbes.h"
#include "worker/sandbox/UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velk::IsolationProbes {

namespace {

// Landlock answers EACCES; EPERM is accepted from a filter. Any other
// failure (a missing /tmp, a read-only file system) says nothing about the
// sandbox and does not count as refused.
bool refusedByPolicy(int error)
{
    return error == EACCES || error == EPERM;
}

} // namespace

// Nothing outside the granted paths is readable, and "/" is the root of
// everything that was not granted.
bool rootDirectoryRefused()
{
    const UniqueFd root(open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root.isValid())
        return false;
    return refusedByPolicy(errno);
}

// /tmp is writable for every ordinary process; the worker's only writable
// directory is its output directory. A fresh, unguessable name is created
// exclusively, so no existing file is touched, and is removed at once if
// the creation went through.
bool temporaryFileRefused()
{
    char name[] = "/tmp/.velk-isolation-probe-XXXXXX";
    const int fd = mkostemp(name, O_CLOEXEC);
    if (fd < 0)
        return refusedByPolicy(errno);
    unlink(name);
    close(fd);
    return false;
}

// No network: every family the worker could reach a host or a local
// service through. Any failure counts as refused (a family the kernel
// lacks cannot be used either); a socket that opens is closed unused.
bool socketsRefused()
{
    struct Attempt {
        int family;
        int type;
    };
    constexpr Attempt attempts[] = {
        {AF_INET, SOCK_STREAM}, {AF_INET6, SOCK_DGRAM}, {AF_UNIX, SOCK_STREAM}, {AF_NETLINK, SOCK_RAW},
    };
    for (const Attempt& attempt : attempts) {
        const UniqueFd socketFd(socket(attempt.family, attempt.type | SOCK_CLOEXEC, 0));
        if (socketFd.isValid())
            return false;
    }
    return true;
}

} // namespace velk::IsolationProbes
