#pragma once

// The two data paths of a run: the input thread that feeds the request to the
// worker's standard input, and the read loop on the calling thread that
// collects its standard output. Pieces are bounded both ways, so a large
// request and a large reply flow at the same time without deadlock.

#include "worker/sandbox/SandboxDeadline.h"
#include "worker/sandbox/SandboxOutcome.h"
#include "worker/sandbox/UniqueFd.h"

#include <QByteArray>

#include <optional>

#include <pthread.h>

namespace velk {

// Owns the input thread and, through it, the pipe's write end. The request
// bytes must outlive the thread; the destructor joins.
class InputWriter {
public:
    InputWriter() = default;
    ~InputWriter() { join(); }
    InputWriter(const InputWriter&) = delete;
    InputWriter& operator=(const InputWriter&) = delete;

    // False when the thread cannot start; the pipe is closed either way in
    // the end, so the worker sees end of input.
    bool start(UniqueFd pipe, const QByteArray& request);
    void join();

private:
    struct Job {
        int fd = -1;
        const char* data = nullptr;
        qsizetype size = 0;
    };
    static void* writeAll(void* job);

    Job m_job;
    pthread_t m_thread {};
    bool m_running = false;
};

// Reads until the worker has ended and its output is drained. Returns
// nothing for a clean read, else the outcome that ends the run (output
// failure, output limit, cancellation or time limit).
std::optional<SandboxOutcome> readWorkerOutput(int outputFd, int pidfd, const SandboxDeadline& deadline, QByteArray& output);

} // namespace velk
