#include "worker/sandbox/SeccompPolicy.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <linux/audit.h>
#include <linux/sched.h>
#include <linux/seccomp.h>
#include <span>
#include <sys/syscall.h>

namespace velk::SeccompPolicy {

namespace {

#if !defined(__x86_64__)
#error "The worker's system-call filter knows x86-64 numbers only"
#endif

struct RefusedGroup {
    std::span<const int> calls;
    int error;
};

// No network: every address family, including UNIX sockets, whose pathname
// connects Landlock does not see.
constexpr std::array kNetwork {SYS_socket, SYS_socketpair};

// No child processes. clone is handled apart: threads must still start.
constexpr std::array kProcessCreation {SYS_fork, SYS_vfork};

// No way out of, or into, namespaces.
constexpr std::array kNamespaces {SYS_unshare, SYS_setns};

// The mount family, old and new API: would reshape what paths mean.
constexpr std::array kMounts {SYS_mount,   SYS_umount2,  SYS_pivot_root, SYS_chroot,
                              SYS_open_tree, SYS_move_mount, SYS_fsopen,   SYS_fsconfig,
                              SYS_fsmount, SYS_fspick,   SYS_mount_setattr};

// No access to another process's memory or execution.
constexpr std::array kProcessAccess {SYS_ptrace, SYS_process_vm_readv, SYS_process_vm_writev};

// io_uring runs operations without passing through this filter; bpf,
// perf_event_open and userfaultfd are large kernel attack surfaces.
constexpr std::array kKernelSurface {SYS_io_uring_setup, SYS_io_uring_enter, SYS_io_uring_register,
                                     SYS_bpf, SYS_perf_event_open, SYS_userfaultfd};

// Keyrings are shared beyond the sandbox's namespaces.
constexpr std::array kKeyrings {SYS_keyctl, SYS_add_key, SYS_request_key};

const std::array<RefusedGroup, 7>& refusedGroups()
{
    static const std::array<RefusedGroup, 7> groups {{{kNetwork, EPERM},
                                                      {kProcessCreation, EPERM},
                                                      {kNamespaces, EPERM},
                                                      {kMounts, EPERM},
                                                      {kProcessAccess, EPERM},
                                                      {kKernelSurface, EPERM},
                                                      {kKeyrings, EPERM}}};
    return groups;
}

// A thread-creating clone may not carry namespace flags either.
constexpr __u32 kNamespaceFlags = CLONE_NEWNS | CLONE_NEWCGROUP | CLONE_NEWUTS | CLONE_NEWIPC
    | CLONE_NEWUSER | CLONE_NEWPID | CLONE_NEWNET;

constexpr __u32 kX32Bit = 0x40000000;

sock_filter statement(__u16 code, __u32 k) { return BPF_STMT(code, k); }
sock_filter jump(__u16 code, __u32 k, __u8 ifTrue, __u8 ifFalse) { return BPF_JUMP(code, k, ifTrue, ifFalse); }
sock_filter refuse(int error) { return statement(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | __u32(error)); }

void appendArchitectureCheck(std::vector<sock_filter>& program)
{
    program.push_back(statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)));
    program.push_back(jump(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0));
    program.push_back(statement(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS));
    program.push_back(statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
    // x32 calls share the architecture value but carry this bit.
    program.push_back(jump(BPF_JMP | BPF_JGE | BPF_K, kX32Bit, 0, 1));
    program.push_back(statement(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS));
}

// clone is allowed only for threads: CLONE_THREAD set, no namespace flag.
// The accumulator holds the call number on entry and on the way past.
void appendCloneRule(std::vector<sock_filter>& program)
{
    program.push_back(jump(BPF_JMP | BPF_JEQ | BPF_K, SYS_clone, 0, 5));
    // The flags are the low 32 bits of the first argument (little endian).
    program.push_back(statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args)));
    program.push_back(jump(BPF_JMP | BPF_JSET | BPF_K, CLONE_THREAD, 0, 2));
    program.push_back(jump(BPF_JMP | BPF_JSET | BPF_K, kNamespaceFlags, 1, 0));
    program.push_back(statement(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    program.push_back(refuse(EPERM));
}

} // namespace

std::vector<sock_filter> buildProgram()
{
    std::vector<sock_filter> program;
    appendArchitectureCheck(program);
    for (const RefusedGroup& group : refusedGroups()) {
        for (const int call : group.calls) {
            program.push_back(jump(BPF_JMP | BPF_JEQ | BPF_K, __u32(call), 0, 1));
            program.push_back(refuse(group.error));
        }
    }
    appendCloneRule(program);
    // ENOSYS, not EPERM: glibc then falls back to clone(CLONE_THREAD), so
    // threads start while clone3's unfilterable flag structure stays shut.
    program.push_back(jump(BPF_JMP | BPF_JEQ | BPF_K, SYS_clone3, 0, 1));
    program.push_back(refuse(ENOSYS));
    program.push_back(statement(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    return program;
}

} // namespace velk::SeccompPolicy
