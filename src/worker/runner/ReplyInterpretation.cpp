#include "worker/runner/ReplyInterpretation.h"

#include "worker/runner/RunnerLimits.h"
#include "worker/runner/RunnerMessages.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace velk::ReplyInterpretation {

namespace {

WorkerReply failure(const QString& sentence)
{
    return WorkerReply{QJsonObject(), sentence};
}

} // namespace

bool mayReadOutput(const SandboxResult& result)
{
    if (result.outcome == SandboxOutcome::Completed)
        return true;
    return result.outcome == SandboxOutcome::WorkerExited
        && result.exitStatus == RunnerLimits::kFailedReplyExitStatus && !result.output.isEmpty();
}

WorkerReply interpret(const SandboxResult& result)
{
    if (!mayReadOutput(result))
        return failure(RunnerMessages::sandboxFailed());
    if (result.output.size() > RunnerLimits::kMaxReplyBytes)
        return failure(RunnerMessages::replyTooLarge());

    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(result.output, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return failure(RunnerMessages::replyInvalid());

    const QJsonObject reply = document.object();
    // A missing or non-boolean "ok" reads as false.
    const bool ok = reply.value(QLatin1String("ok")).toBool(false);
    if (!ok) {
        // An empty sentence would read as success to every caller.
        const QString error = reply.value(QLatin1String("error")).toString();
        return WorkerReply{reply, error.isEmpty() ? RunnerMessages::operationIncomplete() : error};
    }
    // "ok" contradicted by the exit status: the reply cannot be trusted.
    if (result.exitStatus != 0)
        return failure(RunnerMessages::workerReportedError());
    return WorkerReply{reply, QString()};
}

} // namespace velk::ReplyInterpretation
