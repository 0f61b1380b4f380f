// Whether the worker's network, IPC, UTS and PID namespaces belong to a user
// namespace other than the host's initial one, i.e. whether the launcher
// really gave it namespaces of its own. Only nsfs is touched: opening a
// namespace link under /proc/self/ns reaches nsfs, which Landlock does not
// govern, while /proc/self/status stays out of reach.

#include "isolation/IsolationProbes.h"
#include "worker/sandbox/UniqueFd.h"

#include <linux/magic.h>
#include <linux/nsfs.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace velk::IsolationProbes {

namespace {

// The kernel gives the initial user namespace this fixed nsfs inode number
// (reported as USER_NS_INIT_INO by newer kernel headers). From inside a
// child user namespace the initial one cannot be opened for comparison
// (NS_GET_PARENT refuses to leave the caller's scope), so the fixed number
// is the comparison.
constexpr ino_t kInitialUserNamespaceInode = 0xEFFFFFFDU;

// True when fd really is a namespace (guards against anything that could
// stand in for a /proc link) and reports its inode.
bool namespaceInode(int fd, ino_t& inode)
{
    struct statfs fs{};
    struct stat st{};
    if (fd < 0 || fstatfs(fd, &fs) != 0 || fs.f_type != NSFS_MAGIC || fstat(fd, &st) != 0)
        return false;
    inode = st.st_ino;
    return true;
}

bool ownedByForeignUserNamespace(const char* link)
{
    const UniqueFd ns(open(link, O_RDONLY | O_CLOEXEC));
    ino_t nsInode = 0;
    if (!namespaceInode(ns.get(), nsInode))
        return false;
    const UniqueFd owner(ioctl(ns.get(), NS_GET_USERNS));
    ino_t ownerInode = 0;
    if (!namespaceInode(owner.get(), ownerInode))
        return false;
    return ownerInode != kInitialUserNamespaceInode;
}

} // namespace

bool foreignUserNamespaces()
{
    // /proc/self/ns/pid is the namespace the worker itself lives in (not the
    // one for its children), which is the one that must be new.
    for (const char* link : {"/proc/self/ns/net", "/proc/self/ns/ipc", "/proc/self/ns/uts", "/proc/self/ns/pid"}) {
        if (!ownedByForeignUserNamespace(link))
            return false;
    }
    return true;
}

} // namespace velk::IsolationProbes
