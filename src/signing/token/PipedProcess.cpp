#include "signing/token/PipedProcess.h"

#include "worker/contract/SecureWipe.h"

#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velk {

namespace {

constexpr qsizetype kReadChunkBytes = 65536;

bool setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int pollOne(int fd, short events, int waitMs)
{
    pollfd entry{fd, events, 0};
    int ready;
    do
        ready = ::poll(&entry, 1, waitMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0 ? entry.revents : (ready == 0 ? 0 : -1);
}

// Reads what the descriptor holds now; false once it reached end of input.
// The chunk may hold a secret reply (a sealed store's record): wiped on
// every way out.
bool drainInto(int fd, QByteArray* into, qsizetype limit, char* chunk)
{
    for (;;) {
        qsizetype want = kReadChunkBytes;
        if (into)
            want = std::min<qsizetype>(want, limit + 1 - into->size());
        if (want <= 0)
            return true;
        const ssize_t got = ::read(fd, chunk, size_t(want));
        if (got > 0) {
            if (into)
                into->append(chunk, qsizetype(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        return got < 0; // EAGAIN: more may come; 0: end
    }
}

bool drain(int fd, QByteArray* into, qsizetype limit)
{
    char chunk[kReadChunkBytes];
    const bool open = drainInto(fd, into, limit, chunk);
    secureWipe(chunk, sizeof chunk);
    return open;
}

// A write to a pipe whose reader has gone raises SIGPIPE, which would end
// this whole program: blocked here, and a pending one taken back.
ssize_t writeWithoutSigpipe(int fd, const char* data, size_t size)
{
    sigset_t pipeOnly, previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    ssize_t written;
    do
        written = ::write(fd, data, size);
    while (written < 0 && errno == EINTR);
    if (written < 0 && errno == EPIPE) {
        const timespec none{0, 0};
        static_cast<void>(sigtimedwait(&pipeOnly, nullptr, &none));
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written;
}

} // namespace

PipedProcess::~PipedProcess()
{
    if (m_pid > 0 && !m_reaped) {
        kill(0);
        reap(true);
    }
}

bool PipedProcess::start(const QString& program)
{
    UniqueFd inputRead, outputWrite, errorWrite;
    if (!makePipe(inputRead, m_input) || !makePipe(m_output, outputWrite) || !makePipe(m_error, errorWrite)
        || !setNonBlocking(m_input.get()) || !setNonBlocking(m_output.get()) || !setNonBlocking(m_error.get()))
        return false;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, inputRead.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputWrite.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errorWrite.get(), STDERR_FILENO);
    // Descriptors another thread opened without close-on-exec stay here.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    // The child starts with default signal handling and no blocked signal,
    // whatever this thread has set.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const QByteArray path = program.toLocal8Bit();
    char* const arguments[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, path.constData(), &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0)
        return false;
    m_pid = pid;
    // The child is ours and not yet reaped, so its number cannot be reused
    // before the pidfd holds it.
    m_pidfd.reset(int(::syscall(SYS_pidfd_open, pid, 0)));
    if (!m_pidfd.isValid()) {
        ::kill(pid, SIGKILL);
        reap(true);
        return false;
    }
    return true;
}

bool PipedProcess::isRunning() const
{
    return m_pid > 0 && !m_reaped && pollOne(m_pidfd.get(), POLLIN, 0) == 0;
}

PipedProcess::Wait PipedProcess::writeSome(const QByteArray& data, qsizetype* offset, int waitMs)
{
    const int events = pollOne(m_input.get(), POLLOUT, waitMs);
    if (events == 0)
        return Wait::TimedOut;
    if (events < 0 || (events & (POLLERR | POLLHUP | POLLNVAL)))
        return Wait::Failed;
    const ssize_t written =
        writeWithoutSigpipe(m_input.get(), data.constData() + *offset, size_t(data.size() - *offset));
    if (written < 0)
        return errno == EAGAIN ? Wait::TimedOut : Wait::Failed;
    *offset += written;
    return Wait::Ready;
}

void PipedProcess::closeInput()
{
    m_input.reset();
}

bool PipedProcess::pumpOutput(QByteArray& output, qsizetype limit, int waitMs)
{
    // A pipe at its end is left out, or poll would return at once forever.
    pollfd entries[3] = {{m_pidfd.get(), POLLIN, 0}};
    nfds_t watched = 1;
    if (m_output.isValid())
        entries[watched++] = {m_output.get(), POLLIN, 0};
    if (m_error.isValid())
        entries[watched++] = {m_error.get(), POLLIN, 0};
    int ready;
    do
        ready = ::poll(entries, watched, waitMs);
    while (ready < 0 && errno == EINTR);
    if (m_output.isValid() && !drain(m_output.get(), &output, limit))
        m_output.reset();
    if (m_error.isValid() && !drain(m_error.get(), nullptr, 0))
        m_error.reset();
    return !isRunning();
}

void PipedProcess::kill(int waitMs)
{
    if (m_pid <= 0 || m_reaped)
        return;
    static_cast<void>(::syscall(SYS_pidfd_send_signal, m_pidfd.get(), SIGKILL, nullptr, 0));
    static_cast<void>(pollOne(m_pidfd.get(), POLLIN, waitMs));
    reap(false);
}

bool PipedProcess::reap(bool block)
{
    if (m_reaped)
        return true;
    siginfo_t info{};
    int result;
    do
        result = m_pidfd.isValid()
            ? ::waitid(idtype_t(P_PIDFD), id_t(m_pidfd.get()), &info, WEXITED | (block ? 0 : WNOHANG))
            : ::waitid(P_PID, id_t(m_pid), &info, WEXITED | (block ? 0 : WNOHANG));
    while (result < 0 && errno == EINTR);
    if (result != 0 || info.si_pid == 0)
        return false;
    m_reaped = true;
    m_normalExit = info.si_code == CLD_EXITED;
    m_exitCode = m_normalExit ? info.si_status : -1;
    return true;
}

bool PipedProcess::exitedNormally()
{
    reap(true);
    return m_normalExit;
}

int PipedProcess::exitCode()
{
    reap(true);
    return m_exitCode;
}

} // namespace velk
