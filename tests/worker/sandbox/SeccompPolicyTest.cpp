// The filter program as data: a small evaluator of the instructions the
// policy uses runs it over system calls the live probe cannot issue (other
// architectures, x32) as well as the refused groups and the clone rule.

#include "worker/sandbox/SeccompPolicy.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <linux/audit.h>
#include <linux/sched.h>
#include <linux/seccomp.h>
#include <sys/syscall.h>

using namespace velk;

namespace {

constexpr quint32 kBadProgram = 0xFFFFFFFFU;

// Runs the program over one call; kBadProgram for an instruction outside
// the expected set or a jump past the end.
quint32 evaluate(const std::vector<sock_filter>& program, const seccomp_data& call)
{
    quint32 accumulator = 0;
    std::size_t pc = 0;
    while (pc < program.size()) {
        const sock_filter& op = program.at(pc);
        switch (op.code) {
        case BPF_LD | BPF_W | BPF_ABS:
            if (op.k + sizeof accumulator > sizeof call)
                return kBadProgram;
            std::memcpy(&accumulator, reinterpret_cast<const char*>(&call) + op.k, sizeof accumulator);
            ++pc;
            break;
        case BPF_JMP | BPF_JEQ | BPF_K:
            pc += 1 + (accumulator == op.k ? op.jt : op.jf);
            break;
        case BPF_JMP | BPF_JGE | BPF_K:
            pc += 1 + (accumulator >= op.k ? op.jt : op.jf);
            break;
        case BPF_JMP | BPF_JSET | BPF_K:
            pc += 1 + ((accumulator & op.k) != 0 ? op.jt : op.jf);
            break;
        case BPF_RET | BPF_K:
            return op.k;
        default:
            return kBadProgram;
        }
    }
    return kBadProgram;
}

constexpr quint32 refused(int error) { return SECCOMP_RET_ERRNO | quint32(error); }

constexpr quint64 kThreadFlags = CLONE_VM | CLONE_FS | CLONE_FILES | CLONE_SIGHAND | CLONE_THREAD
    | CLONE_SYSVSEM | CLONE_SETTLS | CLONE_PARENT_SETTID | CLONE_CHILD_CLEARTID;

} // namespace

class SeccompPolicyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fitsTheKernel();
    void decisions_data();
    void decisions();
};

void SeccompPolicyTest::fitsTheKernel()
{
    const std::vector<sock_filter> program = SeccompPolicy::buildProgram();
    QVERIFY(!program.empty());
    QVERIFY(program.size() <= BPF_MAXINSNS);
    // Pure: the same program every time.
    const std::vector<sock_filter> again = SeccompPolicy::buildProgram();
    QCOMPARE(again.size(), program.size());
    QCOMPARE(std::memcmp(again.data(), program.data(), program.size() * sizeof(sock_filter)), 0);
}

void SeccompPolicyTest::decisions_data()
{
    QTest::addColumn<quint32>("arch");
    QTest::addColumn<int>("call");
    QTest::addColumn<quint64>("firstArgument");
    QTest::addColumn<quint32>("action");
    const quint32 x86_64 = AUDIT_ARCH_X86_64;
    const quint32 allow = SECCOMP_RET_ALLOW;
    const quint32 kill = SECCOMP_RET_KILL_PROCESS;

    QTest::newRow("read") << x86_64 << int(SYS_read) << quint64(0) << allow;
    QTest::newRow("execve stays possible") << x86_64 << int(SYS_execve) << quint64(0) << allow;
    QTest::newRow("i386 call") << quint32(AUDIT_ARCH_I386) << 3 << quint64(0) << kill;
    QTest::newRow("x32 read") << x86_64 << int(0x40000000 | SYS_read) << quint64(0) << kill;
    QTest::newRow("thread clone") << x86_64 << int(SYS_clone) << kThreadFlags << allow;
    QTest::newRow("process clone") << x86_64 << int(SYS_clone) << quint64(17) << refused(EPERM);
    QTest::newRow("thread clone with new user namespace")
        << x86_64 << int(SYS_clone) << (kThreadFlags | CLONE_NEWUSER) << refused(EPERM);
    QTest::newRow("thread clone with new network namespace")
        << x86_64 << int(SYS_clone) << (kThreadFlags | CLONE_NEWNET) << refused(EPERM);
    QTest::newRow("clone3") << x86_64 << int(SYS_clone3) << quint64(0) << refused(ENOSYS);
    const struct {
        const char* name;
        int call;
    } refusedCalls[] = {
        {"socket", SYS_socket}, {"socketpair", SYS_socketpair}, {"fork", SYS_fork}, {"vfork", SYS_vfork},
        {"unshare", SYS_unshare}, {"setns", SYS_setns}, {"mount", SYS_mount}, {"umount2", SYS_umount2},
        {"pivot_root", SYS_pivot_root}, {"chroot", SYS_chroot}, {"open_tree", SYS_open_tree},
        {"move_mount", SYS_move_mount}, {"fsopen", SYS_fsopen}, {"fsmount", SYS_fsmount},
        {"mount_setattr", SYS_mount_setattr}, {"ptrace", SYS_ptrace},
        {"process_vm_readv", SYS_process_vm_readv}, {"process_vm_writev", SYS_process_vm_writev},
        {"io_uring_setup", SYS_io_uring_setup}, {"io_uring_enter", SYS_io_uring_enter},
        {"io_uring_register", SYS_io_uring_register}, {"bpf", SYS_bpf}, {"perf_event_open", SYS_perf_event_open},
        {"userfaultfd", SYS_userfaultfd}, {"keyctl", SYS_keyctl}, {"add_key", SYS_add_key},
        {"request_key", SYS_request_key},
    };
    for (const auto& entry : refusedCalls)
        QTest::newRow(entry.name) << x86_64 << entry.call << quint64(0) << refused(EPERM);
}

void SeccompPolicyTest::decisions()
{
    QFETCH(quint32, arch);
    QFETCH(int, call);
    QFETCH(quint64, firstArgument);
    QFETCH(quint32, action);
    seccomp_data data {};
    data.arch = arch;
    data.nr = call;
    data.args[0] = firstArgument;
    QCOMPARE(evaluate(SeccompPolicy::buildProgram(), data), action);
}

QTEST_GUILESS_MAIN(SeccompPolicyTest)
#include "SeccompPolicyTest.moc"
