// Probes of process creation and execution, made with raw system calls so
// that no library wrapper runs handlers or retries. Every probe is safe
// when its restriction is missing: a child that does come into being calls
// _exit at once (no stdio flush, no destructors) and is reaped; an exec
// probe names the empty path, which the kernel answers with ENOENT before
// looking for anything to run, whereas the worker's own filter answers
// EPERM before the kernel sees the path.

#include "isolation/IsolationProbes.h"
#include "worker/sandbox/UniqueFd.h"

#include <linux/io_uring.h>
#include <linux/sched.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velk::IsolationProbes {

namespace {

void reap(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, __WALL) < 0 && errno == EINTR) {
    }
}

// Interprets the return of a process-creating call: the child leaves at
// once; a parent that got a child reaps it and reports the restriction as
// missing; a failure counts only with one of the errors the sandbox's
// filter gives (a shortage of resources is no restriction).
bool creationRefused(long result, int error, int expected, int alsoExpected)
{
    if (result == 0)
        _exit(0);
    if (result > 0) {
        reap(pid_t(result));
        return false;
    }
    return error == expected || error == alsoExpected;
}

bool cloneRefused()
{
    // Flags SIGCHLD only and no new stack: a plain copy, as fork makes.
    const long result = syscall(SYS_clone, SIGCHLD, 0, 0, 0, 0);
    return creationRefused(result, errno, EPERM, EPERM);
}

bool clone3Refused()
{
    // ENOSYS is the sandbox's answer (so that the C library falls back to
    // clone for threads); EPERM would also stop a process.
    clone_args args{};
    args.exit_signal = SIGCHLD;
    const long result = syscall(SYS_clone3, &args, sizeof args);
    return creationRefused(result, errno, ENOSYS, EPERM);
}

bool forkRefused()
{
#ifdef SYS_fork
    const long result = syscall(SYS_fork);
    return creationRefused(result, errno, EPERM, EPERM);
#else
    return true; // this architecture has no fork call; clone covers it
#endif
}

bool execRefused(long result, int error)
{
    // result can only be -1 here: an exec that worked would not return.
    return result == -1 && error == EPERM;
}

} // namespace

bool processCreationRefused()
{
    return cloneRefused() && clone3Refused() && forkRefused();
}

bool executionRefused()
{
    char* const noArguments[] = {nullptr};
    const long viaExecve = syscall(SYS_execve, "", noArguments, noArguments);
    if (!execRefused(viaExecve, errno))
        return false;
    const long viaExecveat = syscall(SYS_execveat, AT_FDCWD, "", noArguments, noArguments, 0);
    return execRefused(viaExecveat, errno);
}

// io_uring submits work the system-call filter never sees. A ring that is
// set up is closed without a single submission.
bool ioUringRefused()
{
    io_uring_params params{};
    const UniqueFd ring(int(syscall(SYS_io_uring_setup, 1, &params)));
    return !ring.isValid();
}

} // namespace velk::IsolationProbes
