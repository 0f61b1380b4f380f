#pragma once

// Builds, in the launching process, the Landlock ruleset the worker enforces
// on itself just before execve: every file-system right the kernel knows is
// handled, so whatever no rule grants is refused. Rules attach to inodes
// opened O_PATH|O_NOFOLLOW, so a path swapped after the check is not granted.
// Used by the sandbox on the run's calling thread; owns the ruleset
// descriptor.

#include "worker/sandbox/UniqueFd.h"

#include <QString>

#include <cstdint>

namespace velk {

class LandlockRules {
public:
    enum class Grant {
        ReadExecuteTree,   // the application directory
        ReadFile,          // one input file
        ModifyTree,        // the output directory: no execute
        ReadTree,          // system data and libraries
        ReadExecuteFile,   // the ELF interpreter
        ReadWriteDevice,   // /dev/null
    };

    // The running kernel's Landlock ABI version; below 1 when unavailable.
    static int kernelAbi();

    // Creates the ruleset; false below ABI 3 (no truncate control) or when
    // Landlock is disabled. Where the kernel has them, TCP bind and connect
    // and the signal and abstract-socket scopes are handled too.
    bool create();

    // Opens a directory that is not a symbolic link; invalid otherwise.
    static UniqueFd openDirectory(const QString& path);
    // Opens an existing regular file that is not a symbolic link.
    static UniqueFd openRegularFile(const QString& path);

    // Grants an inode from the openers above (directories: the whole tree
    // below them).
    bool allowInode(int inode, Grant grant);
    // Grants a trusted system path after resolving its symbolic links; a
    // missing path is skipped (granting less is always safe).
    bool allowSystemPath(const char* path, Grant grant);
    // The system paths a worker's dynamic loading needs, and nothing more.
    bool allowSystemRuntime();

    int descriptor() const { return m_ruleset.get(); }

private:
    UniqueFd m_ruleset;
    std::uint64_t m_handledFs = 0;
};

} // namespace velk
