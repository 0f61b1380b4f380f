#pragma once

// The outcome of one PDF-worker run, returned by value from runPdfWorker.
// Success is exactly an empty error. When the worker itself answered
// "ok": false, json still holds its whole reply (callers read "code" from
// it) and error holds the worker's sentence.

#include <QJsonObject>
#include <QString>

namespace velk {

struct WorkerReply {
    // The worker's reply object; empty when the runner failed or the
    // worker's outcome cannot be trusted.
    QJsonObject json;
    // Empty on success, else one Turkish sentence for the user.
    QString error;
};

} // namespace velk
