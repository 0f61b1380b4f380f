#include "signing/token/TokenWorkerClient.h"

#include "signing/token/PipedProcess.h"
#include "signing/token/TokenClientMessages.h"
#include "worker/contract/WorkerContract.h"
#include "worker/contract/SecureWipe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>

namespace velk {

namespace {

// The most the token worker may answer: a listing of every certificate of
// every slot fits many times over; anything larger is not its reply.
constexpr qsizetype kMaxReplyBytes = 524288;

QJsonObject errorReply(const char* message)
{
    return WorkerContract::errorReply(QString::fromUtf8(message));
}

bool isCancelled(const CancelFlag& cancel)
{
    return cancel && cancel->load();
}

// JSON line, LF, PIN, in one buffer sized up front so that no reallocation
// leaves a copy of the PIN behind.
QByteArray buildFrame(QJsonObject& request, const SecretBytes& pin)
{
    QByteArray json = QJsonDocument(request).toJson(QJsonDocument::Compact);
    request = QJsonObject();
    QByteArray frame;
    frame.reserve(json.size() + 1 + pin.size());
    frame.append(json).append('\n').append(pin.bytes());
    return frame;
}

// Writes the whole frame and closes the input; false when it could not be
// delivered in time, the worker went, or the user cancelled.
bool deliver(PipedProcess& process, const QByteArray& frame, const CancelFlag& cancel,
             const TokenWorkerTimes& times)
{
    QElapsedTimer writing;
    writing.start();
    qsizetype offset = 0;
    while (offset < frame.size()) {
        if (isCancelled(cancel) || writing.elapsed() > times.writeLimitMs)
            return false;
        const PipedProcess::Wait wait = process.writeSome(frame, &offset, times.writeWaitMs);
        if (wait == PipedProcess::Wait::Failed)
            return false;
        if (wait == PipedProcess::Wait::TimedOut
            && (isCancelled(cancel) || writing.elapsed() > times.writeLimitMs || !process.isRunning()))
            return false;
    }
    process.closeInput();
    return true;
}

QJsonObject collectReply(PipedProcess& process, const CancelFlag& cancel, const TokenWorkerTimes& times)
{
    const qsizetype limit = kMaxReplyBytes;
    QByteArray output;
    QElapsedTimer running;
    running.start();
    while (!process.pumpOutput(output, limit, times.runPollMs)) {
        if (isCancelled(cancel) || running.elapsed() > times.runLimitMs || output.size() > limit) {
            process.kill(times.killWaitMs);
            return errorReply(isCancelled(cancel) ? TokenClientMessages::kCancelledWhileRunning
                                                  : TokenClientMessages::kLimitExceeded);
        }
    }
    process.pumpOutput(output, limit, 0);
    if (output.size() > limit || !process.exitedNormally())
        return errorReply(TokenClientMessages::kInvalidReply);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(output, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return errorReply(TokenClientMessages::kInvalidReply);
    const QJsonObject reply = document.object();
    if (process.exitCode() != 0 && WorkerContract::isOk(reply))
        return errorReply(TokenClientMessages::kFailed);
    return reply;
}

} // namespace

QJsonObject runTokenWorker(QJsonObject& request, const CancelFlag& cancel, SecretBytes pin)
{
    return runTokenWorker(request, cancel, std::move(pin), QCoreApplication::applicationDirPath());
}

QJsonObject runTokenWorker(QJsonObject& request, const CancelFlag& cancel, SecretBytes pin,
                           const QString& applicationDirectory, const TokenWorkerTimes& times)
{
    const WorkerProfile& profile = WorkerProfiles::tokenWorker();
    if (request.contains(QStringLiteral("pin")) || pin.size() > WorkerProfiles::kMaxPinBytes
        || pin.bytes().contains('\0'))
        return errorReply(TokenClientMessages::kPinFrameInvalid);
    if (isCancelled(cancel))
        return errorReply(TokenClientMessages::kCancelled);

    PipedProcess process;
    if (!process.start(applicationDirectory + QLatin1Char('/') + QLatin1String(profile.program)))
        return errorReply(TokenClientMessages::kNotStarted);

    QByteArray frame = buildFrame(request, pin);
    pin.clear();
    if (frame.size() > profile.maxRequestBytes) {
        secureWipe(frame);
        process.kill(times.killWaitMs);
        return errorReply(TokenClientMessages::kFrameTooLarge);
    }
    const bool delivered = deliver(process, frame, cancel, times);
    secureWipe(frame);
    if (!delivered) {
        process.kill(times.killWaitMs);
        return errorReply(TokenClientMessages::kNotDelivered);
    }
    return collectReply(process, cancel, times);
}

} // namespace velk
