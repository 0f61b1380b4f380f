#include "worker/sandbox/Sandbox.h"

#include "worker/sandbox/LandlockRules.h"
#include "worker/sandbox/LaunchPlan.h"
#include "worker/sandbox/SandboxDeadline.h"
#include "worker/sandbox/SandboxIo.h"
#include "worker/sandbox/SandboxLimits.h"
#include "worker/sandbox/SandboxLock.h"
#include "worker/sandbox/SandboxedChild.h"
#include "worker/sandbox/UniqueFd.h"

#include <QFile>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velk {

namespace {

// Everything a run creates before the clone; all of it closes when the run
// ends.
struct PreparedRun {
    LandlockRules rules;
    UniqueFd runtimeDirectory;
    UniqueFd inputRead, inputWrite, outputRead, outputWrite, nullDevice;
    LaunchPlan plan;
};

// Wipes the sandbox's copy of the request however the run ends. A buffer
// still shared with the caller is the caller's to wipe; detaching it here
// would only make one more copy.
class RequestWipe {
public:
    explicit RequestWipe(QByteArray& request) : m_request(request) {}
    ~RequestWipe()
    {
        if (m_request.isDetached() && !m_request.isEmpty())
            ::explicit_bzero(m_request.data(), std::size_t(m_request.size()));
        m_request.clear();
    }

private:
    QByteArray& m_request;
};

bool isValidRequest(const QString& executable, const QByteArray& request, int timeLimitMs)
{
    return request.size() <= SandboxLimits::kMaxRequestBytes && timeLimitMs >= SandboxLimits::kMinTimeLimitMs
        && timeLimitMs <= SandboxLimits::kMaxTimeLimitMs && !executable.contains(QLatin1Char('"'))
        && !executable.contains(QChar(0));
}

using Failure = std::optional<SandboxOutcome>;

Failure grantPaths(PreparedRun& run, const QString& runtimeDirectory, const QStringList& readList,
                       const QString& writeDirectory)
{
    using Grant = LandlockRules::Grant;
    // Below ABI 3 the worker could truncate its inputs: no run at all.
    if (!run.rules.create())
        return SandboxOutcome::RestrictionsUnavailable;
    run.runtimeDirectory = LandlockRules::openDirectory(runtimeDirectory);
    if (!run.rules.allowInode(run.runtimeDirectory.get(), Grant::ReadExecuteTree))
        return SandboxOutcome::RuntimeAclUnavailable;
    for (const QString& input : readList) {
        const UniqueFd file = LandlockRules::openRegularFile(input);
        if (!run.rules.allowInode(file.get(), Grant::ReadFile))
            return SandboxOutcome::InputAclUnavailable;
    }
    if (!writeDirectory.isEmpty()) {
        const UniqueFd directory = LandlockRules::openDirectory(writeDirectory);
        if (!run.rules.allowInode(directory.get(), Grant::ModifyTree))
            return SandboxOutcome::OutputAclUnavailable;
    }
    if (!run.rules.allowSystemRuntime())
        return SandboxOutcome::RestrictionsUnavailable;
    return std::nullopt;
}

Failure prepare(PreparedRun& run, const QString& executable, const QString& runtimeDirectory,
                    const QStringList& readList, const QString& writeDirectory, int timeLimitMs)
{
    if (const Failure failure = grantPaths(run, runtimeDirectory, readList, writeDirectory))
        return failure;
    // The read loop never blocks on the pipe; the input thread may.
    if (!makePipe(run.inputRead, run.inputWrite) || !makePipe(run.outputRead, run.outputWrite)
        || ::fcntl(run.outputRead.get(), F_SETFL, O_NONBLOCK) != 0)
        return SandboxOutcome::PipesUnavailable;
    run.nullDevice = UniqueFd(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    if (!moveAboveStandardStreams(run.nullDevice))
        return SandboxOutcome::ErrorSinkUnavailable;
    LaunchPlan& plan = run.plan;
    plan.executable = QFile::encodeName(executable);
    plan.rulesetFd = run.rules.descriptor();
    plan.workingDirectoryFd = run.runtimeDirectory.get();
    plan.standardInputFd = run.inputRead.get();
    plan.standardOutputFd = run.outputWrite.get();
    plan.standardErrorFd = run.nullDevice.get();
    if (!completeLaunchPlan(plan, timeLimitMs))
        return SandboxOutcome::ProcessAttributesUnavailable;
    return std::nullopt;
}

// Waits for the worker, kills it when it does not end, joins the input
// thread and turns the outcome into the result. failure: what ended the run
// early, if anything.
void finish(SandboxedChild& child, InputWriter& writer, Failure failure, SandboxResult& result)
{
    constexpr int kEndWaitMs = 5000;
    if (failure)
        static_cast<void>(child.kill());
    bool ended = child.waitForExit(kEndWaitMs);
    if (!ended) {
        // Nothing of the run may outlive it; the input thread ends with it.
        static_cast<void>(child.kill());
        ended = child.waitForExit(kEndWaitMs);
    }
    writer.join();
    quint32 status = 1;
    const bool statusRead = ended && child.reap(status);
    if (failure) {
        result.outcome = *failure;
        result.exitStatus = 1; // a worker we killed
    } else if (!statusRead) {
        result.outcome = SandboxOutcome::ExitStatusUnavailable;
    } else {
        result.exitStatus = status;
        result.outcome = status == 0 ? SandboxOutcome::Completed : SandboxOutcome::WorkerExited;
    }
}

SandboxResult runLocked(const QString& executable, const QString& runtimeDirectory, const QStringList& readList,
                        const QString& writeDirectory, const QByteArray& request,
                        const SandboxDeadline& deadline, int timeLimitMs)
{
    SandboxResult result;
    PreparedRun run;
    if (const Failure failure =
            prepare(run, executable, runtimeDirectory, readList, writeDirectory, timeLimitMs)) {
        result.outcome = *failure;
        return result;
    }
    SandboxedChild child;
    const SandboxedChild::Start started = child.start(run.plan, deadline);
    if (started != SandboxedChild::Start::Started) {
        result.outcome = started == SandboxedChild::Start::Expired ? SandboxOutcome::CancelledOrTimedOut
                                                                   : SandboxOutcome::WorkerCouldNotStart;
        return result; // the child's destructor kills and reaps it
    }
    // Only the worker may hold its ends, or end of file would never come.
    run.inputRead.reset();
    run.outputWrite.reset();
    run.nullDevice.reset();
    InputWriter writer;
    Failure failure;
    if (!writer.start(std::move(run.inputWrite), request))
        failure = SandboxOutcome::InputThreadUnavailable;
    else
        failure = readWorkerOutput(run.outputRead.get(), child.pidfd(), deadline, result.output);
    finish(child, writer, failure, result);
    return result;
}

} // namespace

SandboxResult runSandboxedProcess(const QString& executable, const QString& runtimeDirectory,
                                  const QStringList& readList, const QString& writeDirectory,
                                  QByteArray request, const CancelCheck& cancel, int timeLimitMs)
{
    const RequestWipe wipe(request);
    SandboxResult result;
    if (!isValidRequest(executable, request, timeLimitMs)) {
        result.outcome = SandboxOutcome::InvalidRequest;
        return result;
    }
    const SandboxDeadline deadline(cancel, timeLimitMs);
    SandboxLock lock;
    if (!lock.open()) {
        result.outcome = SandboxOutcome::LockUnavailable;
        return result;
    }
    if (!lock.acquire(deadline)) {
        result.outcome = SandboxOutcome::CancelledOrTimedOut;
        return result;
    }
    // The lock is released only after the worker is gone and every
    // descriptor of the run is closed.
    return runLocked(executable, runtimeDirectory, readList, writeDirectory, request, deadline, timeLimitMs);
}

} // namespace velk
