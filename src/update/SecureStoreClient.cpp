#include "update/SecureStoreClient.h"

#include "update/UpdateLimits.h"

#include "update/UpdateMessages.h"
#include "signing/token/PipedProcess.h"
#include "worker/contract/JsonFields.h"
#include "worker/contract/SecureWipe.h"
#include "worker/contract/WorkerProfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>

#include <optional>

namespace velk {

namespace {

// The store's sentences are short; anything longer is not one of them.
constexpr qsizetype kMaxErrorLength = 1024;

SecureStoreResult failure(const char* message)
{
    SecureStoreResult result;
    result.error = QString::fromUtf8(message);
    return result;
}

bool isCancelled(const CancelFlag& cancel)
{
    return cancel && cancel->load();
}

// Writes the whole text and closes the input; false when it could not be
// delivered in time, the store went, or the user cancelled.
bool deliver(PipedProcess& process, const QByteArray& text, const CancelFlag& cancel,
             const SecureStoreTimes& times)
{
    QElapsedTimer writing;
    writing.start();
    qsizetype offset = 0;
    while (offset < text.size()) {
        if (isCancelled(cancel) || writing.elapsed() > times.writeLimitMs)
            return false;
        if (process.writeSome(text, &offset, times.writeWaitMs) == PipedProcess::Wait::Failed)
            return false;
    }
    process.closeInput();
    return true;
}

// The reply's bytes, or nothing when the store had to be stopped. The
// buffer is sized once, so no reallocation leaves a copy of a record behind.
std::optional<QByteArray> collect(PipedProcess& process, const CancelFlag& cancel, const SecureStoreTimes& times)
{
    const qsizetype limit = UpdateLimits::kMaxStoreReplyBytes;
    QByteArray output;
    output.reserve(limit + 1);
    QElapsedTimer running;
    running.start();
    while (!process.pumpOutput(output, limit, times.runPollMs)) {
        if (isCancelled(cancel) || running.elapsed() > times.runLimitMs || output.size() > limit) {
            process.kill(times.killWaitMs);
            secureWipe(output);
            return std::nullopt;
        }
    }
    process.pumpOutput(output, limit, 0);
    return output;
}

// "ok" must be a boolean that agrees with the exit status, and a failure
// must carry its sentence: otherwise the user would see success for a
// failed write, or a blank status.
SecureStoreResult interpret(const QJsonObject& reply, bool exitedZero)
{
    const std::optional<bool> ok = JsonFields::boolean(reply, QStringLiteral("ok"));
    const std::optional<QString> error = JsonFields::string(reply, QStringLiteral("error"), kMaxErrorLength);
    if (!ok || (*ok && !exitedZero) || (!*ok && (!error || error->isEmpty())))
        return failure(UpdateMessages::kStoreInvalidReply);
    SecureStoreResult result;
    result.ok = *ok;
    if (!result.ok) {
        result.error = *error;
        return result;
    }
    result.found = JsonFields::boolean(reply, QStringLiteral("found")).value_or(false);
    result.record = JsonFields::object(reply, QStringLiteral("record")).value_or(QJsonObject());
    return result;
}

SecureStoreResult readReply(PipedProcess& process, const CancelFlag& cancel, const SecureStoreTimes& times)
{
    std::optional<QByteArray> output = collect(process, cancel, times);
    if (!output)
        return failure(UpdateMessages::kStoreNoAnswer);
    const bool tooLarge = output->size() > UpdateLimits::kMaxStoreReplyBytes;
    QJsonParseError error{};
    const QJsonDocument document = tooLarge ? QJsonDocument() : QJsonDocument::fromJson(*output, &error);
    secureWipe(*output);
    if (!process.exitedNormally() || tooLarge || error.error != QJsonParseError::NoError || !document.isObject())
        return failure(UpdateMessages::kStoreInvalidReply);
    return interpret(document.object(), process.exitCode() == 0);
}

} // namespace

SecureStoreResult runSecureStore(QJsonObject& request, const CancelFlag& cancel)
{
    return runSecureStore(request, cancel, QCoreApplication::applicationDirPath());
}

SecureStoreResult runSecureStore(QJsonObject& request, const CancelFlag& cancel,
                                 const QString& applicationDirectory, const SecureStoreTimes& times)
{
    const WorkerProfile& profile = WorkerProfiles::secureStore();
    if (isCancelled(cancel))
        return failure(UpdateMessages::kStoreCancelled);
    // Bounded before the store starts, so an oversized request runs nothing.
    QByteArray text = QJsonDocument(request).toJson(QJsonDocument::Compact);
    request = QJsonObject();
    if (text.size() > profile.maxRequestBytes) {
        secureWipe(text);
        return failure(UpdateMessages::kStoreRequestTooLarge);
    }
    PipedProcess process;
    if (!process.start(applicationDirectory + QLatin1Char('/') + QLatin1String(profile.program))) {
        secureWipe(text);
        return failure(UpdateMessages::kStoreNotStarted);
    }
    const bool delivered = deliver(process, text, cancel, times);
    secureWipe(text);
    if (!delivered) {
        process.kill(times.killWaitMs);
        return failure(UpdateMessages::kStoreNoAnswer);
    }
    return readReply(process, cancel, times);
}

} // namespace velk
