// velk-sandbox-bench: what the sandbox costs per worker run. Runs the real
// velk-pdf-worker from the build's application directory with the same
// small request, alternately inside the sandbox and as a plain fork/exec
// child with the same pipes, and prints the medians, their difference and
// their ratio. Started by bench/sandbox-launch.sh; never part of CTest.
//
//   velk-sandbox-bench [RUNS]

#include "worker/sandbox/Sandbox.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kDefaultRuns = 200;
constexpr int kMaxRuns = 100000;
constexpr int kTimeLimitMs = 20000;
// Answered without loading an engine, inside and outside the sandbox.
const QByteArray kRequest = R"({"operation":"inspect"})";

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray readAll(int fd)
{
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(buffer, n);
    }
}

// The same worker with the same pipes and the null device on 2, without
// any confinement. The request is small enough for the pipe buffer.
QByteArray runPlain(const QByteArray& worker)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0)
        return {};
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* const argv[] = {const_cast<char*>(worker.constData()), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, worker.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    QByteArray output;
    if (spawned == 0) {
        writeAll(in[1], kRequest);
        close(in[1]);
        output = readAll(out[0]);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    } else {
        close(in[1]);
    }
    close(out[0]);
    return output;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
    if (runs < 1 || runs > kMaxRuns)
        return 2;
    const QString appDir = QStringLiteral(VELK_APP_DIR);
    const QString worker = appDir + QStringLiteral("/velk-pdf-worker");
    const QByteArray workerBytes = worker.toLocal8Bit();
    const velk::CancelCheck never = [] { return false; };

    std::vector<double> sandboxed, plain;
    int unexpected = 0;
    for (int i = 0; i < runs; ++i) {
        // Alternating keeps slow drifts of the machine out of the difference.
        Clock::time_point start = Clock::now();
        const velk::SandboxResult result =
            velk::runSandboxedProcess(worker, appDir, {}, {}, kRequest, never, kTimeLimitMs);
        sandboxed.push_back(millisecondsSince(start));
        if (!result.output.contains(R"("filesystem":true)"))
            ++unexpected;

        start = Clock::now();
        const QByteArray output = runPlain(workerBytes);
        plain.push_back(millisecondsSince(start));
        if (!output.contains(R"("filesystem":false)"))
            ++unexpected;
    }
    const double s = median(sandboxed), p = median(plain);
    std::printf("runs                 %d each\n", runs);
    std::printf("median sandboxed     %.3f ms\n", s);
    std::printf("median plain         %.3f ms\n", p);
    std::printf("difference           %.3f ms\n", s - p);
    std::printf("ratio                %.3f\n", p > 0 ? s / p : 0.0);
    std::printf("unexpected replies   %d\n", unexpected);
    return unexpected == 0 ? 0 : 1;
}
