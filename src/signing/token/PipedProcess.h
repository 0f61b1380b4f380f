#pragma once

// One child program with its standard input, output and error on pipes of
// our own, started with posix_spawn and held through a pidfd. No copy of
// what passes through the pipes is kept anywhere but the caller's buffers,
// so secrets written to the child can be wiped (QProcess keeps copies it
// never wipes). Owned by one thread; the destructor kills and reaps a child
// that is still there, so no process outlives its owner.

#include "worker/sandbox/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace velk {

class PipedProcess {
public:
    enum class Wait { Ready, TimedOut, Failed };

    PipedProcess() = default;
    ~PipedProcess();
    PipedProcess(const PipedProcess&) = delete;
    PipedProcess& operator=(const PipedProcess&) = delete;

    // Starts the program with no arguments and the parent's environment and
    // working directory. False when it could not be executed.
    bool start(const QString& program);

    bool isRunning() const;

    // Waits up to waitMs for the input pipe to take bytes, then writes what
    // it takes from data[*offset..size). Failed when the child closed its
    // end (no SIGPIPE reaches this process).
    Wait writeSome(const QByteArray& data, qsizetype* offset, int waitMs);
    void closeInput();

    // Waits up to waitMs for the child to end or for output, then appends
    // what standard output holds (at most up to `limit` + 1 bytes in
    // `output`) and discards what standard error holds. True once the
    // child has ended.
    bool pumpOutput(QByteArray& output, qsizetype limit, int waitMs);

    // SIGKILL through the pidfd, then up to waitMs for the end.
    void kill(int waitMs);

    // After the end: whether the child exited by itself, and its status.
    // Reaps it on the first call.
    bool exitedNormally();
    int exitCode();

private:
    bool reap(bool block);

    UniqueFd m_input;
    UniqueFd m_output;
    UniqueFd m_error;
    UniqueFd m_pidfd;
    pid_t m_pid = -1;
    bool m_reaped = false;
    bool m_normalExit = false;
    int m_exitCode = -1;
};

} // namespace velk
