#include "isolation/ExecFilter.h"

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>

#include <cerrno>
#include <cstddef>
#include <sys/prctl.h>
#include <sys/syscall.h>

namespace velk::ExecFilter {

namespace {

#if defined(__x86_64__)
constexpr __u32 kArchitecture = AUDIT_ARCH_X86_64;
// x32 calls reach the same kernel entry with this bit set; numbers with it
// would slip past a comparison against the 64-bit execve number.
constexpr __u32 kX32SyscallBit = 0x40000000U;
#elif defined(__aarch64__)
constexpr __u32 kArchitecture = AUDIT_ARCH_AARCH64;
#else
#error "The worker's exec filter knows x86-64 and arm64 only"
#endif

constexpr __u32 kDeny = SECCOMP_RET_ERRNO | (EPERM & SECCOMP_RET_DATA);

sock_filter statement(__u16 code, __u32 k)
{
    return sock_filter{code, 0, 0, k};
}

sock_filter jumpIfEqual(__u32 k, __u8 ifTrue, __u8 ifFalse)
{
    return sock_filter{BPF_JMP | BPF_JEQ | BPF_K, ifTrue, ifFalse, k};
}

} // namespace

bool install()
{
    // Calls of a foreign architecture use other numbers and are refused
    // outright: the worker never makes one.
    const sock_filter program[] = {
        statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        jumpIfEqual(kArchitecture, 1, 0),
        statement(BPF_RET | BPF_K, kDeny),
        statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
#if defined(__x86_64__)
        sock_filter{BPF_JMP | BPF_JGE | BPF_K, 0, 1, kX32SyscallBit},
        statement(BPF_RET | BPF_K, kDeny),
#endif
        jumpIfEqual(__NR_execve, 2, 0),
        jumpIfEqual(__NR_execveat, 1, 0),
        statement(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        statement(BPF_RET | BPF_K, kDeny),
    };
    const sock_fprog fprog{static_cast<unsigned short>(sizeof program / sizeof program[0]),
                           const_cast<sock_filter*>(program)};
    return prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &fprog, 0, 0) == 0;
}

} // namespace velk::ExecFilter
