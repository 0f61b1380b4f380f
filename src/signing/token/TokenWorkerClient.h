#pragma once

// The velk-pdf side of the token worker: runTokenWorker starts
// velk-token-worker for one request, hands it the request and the PIN
// through pipes of our own, holds it to the time and size limits, honours
// the cancellation flag, and returns the worker's reply object or an error
// reply in this side's words. Nothing is retried. Runs on a pool thread and
// blocks it for up to about 96 seconds.

#include "worker/contract/SecretBytes.h"
#include "worker/runner/CancelFlag.h"

#include <QJsonObject>
#include <QString>

namespace velk {

// Time limits of one run; tests shorten them.
struct TokenWorkerTimes {
    int writeLimitMs = 3000;
    int writeWaitMs = 100;
    int runLimitMs = 90000;
    int runPollMs = 40;
    int killWaitMs = 1000;
};

// The worker from the application directory of the running program. The
// request is replaced by an empty object once serialised; the PIN is wiped
// before this returns.
QJsonObject runTokenWorker(QJsonObject& request, const CancelFlag& cancel, SecretBytes pin);

// The worker from the given application directory, for tests and tools.
QJsonObject runTokenWorker(QJsonObject& request, const CancelFlag& cancel, SecretBytes pin,
                           const QString& applicationDirectory, const TokenWorkerTimes& times = {});

} // namespace velk
