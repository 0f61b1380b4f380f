// A stand-in worker for the sandbox tests. Reads its whole standard input,
// takes the first line as one command ("action argument") and answers on
// standard output what happened when it tried: "allowed", or "denied" and
// the errno. Some actions instead shape the run itself (a failing exit, a
// half reply, a flood of output). Plain C++ so that it needs nothing the
// sandbox does not grant.

#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/sched.h>
#include <map>
#include <netinet/in.h>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

void writeAll(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t stored = ::write(1, text.data() + done, text.size() - done);
        if (stored <= 0)
            return;
        done += std::size_t(stored);
    }
}

std::string outcome(bool allowed, int error)
{
    return allowed ? "allowed" : "denied " + std::to_string(error);
}

[[noreturn]] void sleepForever()
{
    for (;;)
        ::pause();
}

std::string tryRead(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return outcome(false, errno);
    char byte = 0;
    const bool readable = ::read(fd, &byte, 1) >= 0;
    const int error = errno;
    ::close(fd);
    return outcome(readable, error);
}

std::string tryWrite(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return outcome(false, errno);
    const bool written = ::write(fd, "x", 1) == 1;
    const int error = errno;
    ::close(fd);
    return outcome(written, error);
}

std::string tryProcess(long result)
{
    if (result == 0)
        ::_exit(0); // the child of a creation that should have failed
    const int error = errno;
    if (result > 0)
        ::waitpid(pid_t(result), nullptr, __WALL);
    return outcome(result > 0, error);
}

std::string tryClone3()
{
    clone_args args {};
    args.exit_signal = SIGCHLD;
    return tryProcess(::syscall(SYS_clone3, &args, sizeof args));
}

std::string tryThread()
{
    try {
        int value = 0;
        std::thread worker([&value] { value = 1; });
        worker.join();
        return outcome(value == 1, 0);
    } catch (...) {
        return outcome(false, errno);
    }
}

std::string tryExec(const std::string& path)
{
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    ::execve(path.c_str(), argv, environ);
    return outcome(false, errno);
}

std::string trySocket(const std::string& family)
{
    const std::map<std::string, int> families {{"inet", AF_INET}, {"inet6", AF_INET6}, {"unix", AF_UNIX},
                                               {"netlink", AF_NETLINK}};
    const auto found = families.find(family);
    if (found == families.end())
        return "unknown family";
    const int fd = ::socket(found->second, found->second == AF_NETLINK ? SOCK_RAW : SOCK_STREAM, 0);
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    return outcome(fd >= 0, error);
}

std::string tryAllocate(const std::string& bytes)
{
    const std::size_t size = std::strtoull(bytes.c_str(), nullptr, 10);
    void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const int error = errno;
    if (memory != MAP_FAILED)
        ::munmap(memory, size);
    return outcome(memory != MAP_FAILED, error);
}

// Loads a library with its whole dependency closure, as the PDF worker loads
// its engines.
std::string tryLoad(const std::string& path)
{
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        return std::string("denied ") + (reason ? reason : "?");
    }
    return "allowed";
}

// Records that it was inside, alone, for a moment: O_EXCL fails while
// another run holds the marker.
std::string holdExclusive(const std::string& directory)
{
    const std::string marker = directory + "/busy";
    const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? "overlap" : outcome(false, errno);
    ::close(fd);
    ::usleep(30000);
    return ::unlink(marker.c_str()) == 0 ? "alone" : outcome(false, errno);
}

// Tries to leave a process behind, answers, then marks in the output
// directory that the answer is out and waits to be killed.
[[noreturn]] void linger(const std::string& argument)
{
    const std::size_t space = argument.find(' ');
    const std::string name = argument.substr(0, space);
    const std::string directory = space == std::string::npos ? "." : argument.substr(space + 1);
    ::prctl(PR_SET_NAME, name.c_str(), 0, 0, 0);
    const pid_t child = ::fork();
    if (child == 0)
        sleepForever();
    writeAll(child > 0 ? "forked" : "denied " + std::to_string(errno));
    const int marker = ::open((directory + "/lingering").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (marker >= 0)
        ::close(marker);
    sleepForever();
}

int openDescriptors()
{
    int count = 0;
    for (int fd = 0; fd < 1024; ++fd)
        count += ::fcntl(fd, F_GETFD) >= 0 ? 1 : 0;
    return count;
}

bool hasNoCapability()
{
    __user_cap_header_struct header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const auto& set : data) {
        if (set.effective != 0 || set.permitted != 0 || set.inheritable != 0)
            return false;
    }
    for (int cap = 0; cap < 64; ++cap) {
        if (::prctl(PR_CAPBSET_READ, cap, 0, 0, 0) == 1
            || ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_IS_SET, cap, 0, 0) == 1)
            return false;
    }
    return true;
}

std::string identity()
{
    int deathSignal = 0;
    ::prctl(PR_GET_PDEATHSIG, &deathSignal, 0, 0, 0);
    rlimit as {}, cpu {}, core {}, files {};
    ::getrlimit(RLIMIT_AS, &as);
    ::getrlimit(RLIMIT_CPU, &cpu);
    ::getrlimit(RLIMIT_CORE, &core);
    ::getrlimit(RLIMIT_NOFILE, &files);
    char cwd[4096] = {};
    const bool hasCwd = ::getcwd(cwd, sizeof cwd) != nullptr;
    return "uid=" + std::to_string(::getuid()) + " gid=" + std::to_string(::getgid())
        + " pid=" + std::to_string(::getpid()) + " sid=" + std::to_string(::getsid(0))
        + " nnp=" + std::to_string(::prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0))
        + " seccomp=" + std::to_string(::prctl(PR_GET_SECCOMP, 0, 0, 0, 0))
        + " caps=" + (hasNoCapability() ? "none" : "some") + " pdeathsig=" + std::to_string(deathSignal)
        + " fds=" + std::to_string(openDescriptors()) + " as=" + std::to_string(as.rlim_cur)
        + " cpu=" + std::to_string(cpu.rlim_cur) + " core=" + std::to_string(core.rlim_cur)
        + " nofile=" + std::to_string(files.rlim_cur) + " cwd=" + (hasCwd ? cwd : "?");
}

// Every entry of the probe's environment, one a line.
std::string wholeEnvironment()
{
    std::string text;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        text += std::string(*entry) + "\n";
    return text;
}

std::string spew(const std::string& bytes)
{
    std::size_t left = std::strtoull(bytes.c_str(), nullptr, 10);
    const std::string block(65536, 'x');
    while (left > 0) {
        const std::size_t piece = std::min(left, block.size());
        writeAll(block.substr(0, piece));
        left -= piece;
    }
    return {};
}

// Runs one attempt and reads errno only after it.
template <typename Attempt>
std::string attempt(Attempt call)
{
    const bool allowed = call();
    return outcome(allowed, errno);
}

std::string run(const std::string& action, const std::string& argument, std::size_t inputBytes)
{
    if (action == "count") return "bytes " + std::to_string(inputBytes);
    if (action == "read") return tryRead(argument);
    if (action == "write") return tryWrite(argument);
    if (action == "truncate") return attempt([&] { return ::truncate(argument.c_str(), 0) == 0; });
    if (action == "mkdir") return attempt([&] { return ::mkdir(argument.c_str(), 0700) == 0; });
    if (action == "fork") return tryProcess(::fork());
    if (action == "vfork") return tryProcess(::syscall(SYS_vfork));
    if (action == "clone") return tryProcess(::syscall(SYS_clone, SIGCHLD, 0, 0, 0, 0));
    if (action == "clone3") return tryClone3();
    if (action == "thread") return tryThread();
    if (action == "exec") return tryExec(argument);
    if (action == "socket") return trySocket(argument);
    if (action == "unshare") return attempt([] { return ::unshare(CLONE_NEWUSER) == 0; });
    if (action == "ptrace") return attempt([] { return ::syscall(SYS_ptrace, 0 /* TRACEME */, 0, 0, 0) == 0; });
    if (action == "io_uring") return attempt([] { return ::syscall(SYS_io_uring_setup, 1, nullptr) >= 0; });
    if (action == "alloc") return tryAllocate(argument);
    if (action == "load") return tryLoad(argument);
    if (action == "exclusive") return holdExclusive(argument);
    if (action == "identity") return identity();
    if (action == "env") return ::getenv(argument.c_str()) ? ::getenv(argument.c_str()) : "unset";
    if (action == "environ") return wholeEnvironment();
    if (action == "spew") return spew(argument);
    if (action == "fail") { writeAll("failure reply"); ::_exit(1); }
    if (action == "half") { writeAll("{\"ok\":"); sleepForever(); }
    if (action == "linger") linger(argument);
    return "unknown action";
}

} // namespace

int main()
{
    std::string input;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0)
            break;
        input.append(buffer, std::size_t(got));
    }
    const std::string line = input.substr(0, input.find('\n'));
    const std::size_t space = line.find(' ');
    const std::string action = line.substr(0, space);
    const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
    writeAll(run(action, argument, input.size()));
    return 0;
}
