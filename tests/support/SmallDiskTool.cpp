// velk-test-small-disk BYTES DIRECTORY [read-only]: mounts a tmpfs of
// BYTES over DIRECTORY (read-only when asked: refused even to root) inside
// a private user and mount namespace of its own (no root needed), answers
// "ready" on standard output and keeps the mount alive until its standard
// input closes. Other processes of the same user reach the small disk
// through /proc/<pid>/root/DIRECTORY.
//
// velk-test-small-disk BYTES DIRECTORY -- PROGRAM ARGUMENTS...: the same
// disk, but PROGRAM runs inside the namespace, where DIRECTORY is the disk
// under its own name (as a temporary location must be); afterwards every
// name left on the disk is printed, one a line after "left ", and the
// program's exit status is returned.
//
// A test tool; single threaded, so that the user namespace can be entered
// at all.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <dirent.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kUsageStatus = 64;
constexpr int kNamespaceStatus = 70;
constexpr int kMountStatus = 71;

bool writeFile(const char* path, const std::string& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    return ::close(fd) == 0 && written;
}

// The same user and group inside as outside, so files keep their owner.
bool enterNamespaces()
{
    const std::string uid = std::to_string(::geteuid());
    const std::string gid = std::to_string(::getegid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    return writeFile("/proc/self/setgroups", "deny") && writeFile("/proc/self/uid_map", uid + ' ' + uid + " 1")
        && writeFile("/proc/self/gid_map", gid + ' ' + gid + " 1");
}

// Runs the program and reports what it left on the disk.
int runInside(const char* directory, char** program)
{
    const pid_t child = ::fork();
    if (child < 0)
        return kNamespaceStatus;
    if (child == 0) {
        ::execv(program[0], program);
        ::_exit(kUsageStatus);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    std::fflush(stdout);
    if (DIR* listing = ::opendir(directory)) {
        while (const dirent* entry = ::readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                std::printf("left %s\n", entry->d_name);
        }
        ::closedir(listing);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : kNamespaceStatus;
}

} // namespace

int main(int argc, char** argv)
{
    const bool runs = argc > 4 && std::strcmp(argv[3], "--") == 0;
    if (argc != 3 && argc != 4 && !runs)
        return kUsageStatus;
    const bool readOnly = argc == 4 && std::strcmp(argv[3], "read-only") == 0;
    if (argc == 4 && !readOnly)
        return kUsageStatus;
    char* end = nullptr;
    const unsigned long long bytes = std::strtoull(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || bytes == 0)
        return kUsageStatus;
    if (!enterNamespaces())
        return kNamespaceStatus;
    // Nothing mounted here may reach the namespace we came from.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return kMountStatus;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    const unsigned long flags = MS_NOSUID | MS_NODEV | (readOnly ? static_cast<unsigned long>(MS_RDONLY) : 0UL);
    if (::mount("velk-small-disk", argv[2], "tmpfs", flags, options.c_str()) != 0)
        return kMountStatus;
    if (runs)
        return runInside(argv[2], argv + 4);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char byte = 0;
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got > 0 || (got < 0 && errno == EINTR))
            continue;
        return 0;
    }
}
