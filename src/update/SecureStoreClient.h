#pragma once

// The velk-pdf side of velk-secure-store: runSecureStore starts the store
// for one request, hands it the request through pipes of our own (records
// must not linger in copies nobody wipes), holds it to the time and size
// limits, honours the cancellation flag, and returns the outcome with the
// store's sentence or this side's. Runs on a pool thread and blocks it for
// up to about 35 seconds. Nothing is retried.

#include "worker/runner/CancelFlag.h"

#include <QJsonObject>
#include <QString>

namespace velk {

struct SecureStoreResult {
    bool ok = false;
    bool found = false;
    QJsonObject record;
    // A Turkish sentence whenever ok is false.
    QString error;
};

// Time limits of one run; tests shorten them.
struct SecureStoreTimes {
    int writeLimitMs = 3000;
    int writeWaitMs = 100;
    int runLimitMs = 30000;
    int runPollMs = 40;
    int killWaitMs = 1000;
};

// The store from the directory of the running program. The request is
// replaced by an empty object once serialised.
SecureStoreResult runSecureStore(QJsonObject& request, const CancelFlag& cancel);

// The store from the given application directory, for tests and tools.
SecureStoreResult runSecureStore(QJsonObject& request, const CancelFlag& cancel,
                                 const QString& applicationDirectory, const SecureStoreTimes& times = {});

} // namespace velk
