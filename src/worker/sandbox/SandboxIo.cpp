#include "worker/sandbox/SandboxIo.h"

#include "worker/sandbox/SandboxLimits.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace velk {

bool InputWriter::start(UniqueFd pipe, const QByteArray& request)
{
    m_job = Job {pipe.get(), request.constData(), request.size()};
    if (::pthread_create(&m_thread, nullptr, &InputWriter::writeAll, &m_job) != 0)
        return false; // the pipe closes here, when it goes out of scope
    pipe.release();   // now the thread's to close
    m_running = true;
    return true;
}

void InputWriter::join()
{
    if (m_running)
        static_cast<void>(::pthread_join(m_thread, nullptr));
    m_running = false;
}

void* InputWriter::writeAll(void* opaque)
{
    const Job& job = *static_cast<const Job*>(opaque);
    // A worker that stops reading must cost a failed write, not the program.
    sigset_t pipeSignal;
    const bool blocked = ::sigemptyset(&pipeSignal) == 0 && ::sigaddset(&pipeSignal, SIGPIPE) == 0
        && ::pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr) == 0;
    qsizetype written = 0;
    while (blocked && written < job.size) {
        const qsizetype piece = std::min<qsizetype>(job.size - written, SandboxLimits::kInputPieceBytes);
        const ssize_t stored = ::write(job.fd, job.data + written, std::size_t(piece));
        if (stored < 0 && errno == EINTR)
            continue;
        if (stored <= 0)
            break;
        written += stored;
    }
    UniqueFd closing(job.fd); // end of input for the worker
    return nullptr;
}

namespace {

// One read of at most one piece. Returns false on a read failure; sets
// ended at end of file.
bool readPiece(int fd, QByteArray& output, bool& ended)
{
    const qsizetype held = output.size();
    output.resize(held + SandboxLimits::kOutputPieceBytes);
    ssize_t got = -1;
    do
        got = ::read(fd, output.data() + held, std::size_t(SandboxLimits::kOutputPieceBytes));
    while (got < 0 && errno == EINTR);
    output.resize(held + std::max<ssize_t>(got, 0));
    if (got == 0)
        ended = true;
    return got >= 0 || errno == EAGAIN;
}

} // namespace

std::optional<SandboxOutcome> readWorkerOutput(int outputFd, int pidfd, const SandboxDeadline& deadline, QByteArray& output)
{
    bool outputEnded = false;
    bool workerEnded = false;
    for (;;) {
        pollfd entries[2] = {{outputEnded ? -1 : outputFd, POLLIN, 0}, {pidfd, POLLIN, 0}};
        const int ready = ::poll(entries, 2, SandboxLimits::kReadWaitMs);
        if (ready < 0 && errno != EINTR)
            return SandboxOutcome::OutputFailed;
        if (ready > 0 && (entries[1].revents & POLLIN) != 0)
            workerEnded = true;
        if (ready > 0 && entries[0].revents != 0) {
            if (!readPiece(outputFd, output, outputEnded))
                return SandboxOutcome::OutputFailed;
            if (output.size() > SandboxLimits::kMaxOutputBytes)
                return SandboxOutcome::OutputLimitExceeded;
        }
        // Once the worker, PID 1 of its namespace, has ended, nobody holds
        // the pipe's write end, so end of file follows the last bytes.
        if (workerEnded && outputEnded)
            return std::nullopt;
        if (deadline.isOver())
            return SandboxOutcome::CancelledOrTimedOut;
    }
}

} // namespace velk
