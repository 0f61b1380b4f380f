#pragma once

// The single gate through which velk-pdf asks velk-pdf-worker to do
// anything: serialises the request, works out the paths the worker may
// read and write, runs it in the sandbox and turns what came back into a
// WorkerReply. Called on pool threads; blocks until the worker has ended.
// Reentrant, holds no lock of its own (the sandbox serialises runs).

#include "worker/runner/CancelFlag.h"
#include "worker/runner/WorkerReply.h"

#include "worker/contract/SecretBytes.h"

#include <QJsonObject>
#include <QString>

namespace velk {

// The worker from the application directory of the running program.
WorkerReply runPdfWorker(const QJsonObject& request, const CancelFlag& cancel, int timeLimitMs);

// The same for a request on a document: the document's password (when not
// empty) is added to the encoded request as "password" in a buffer that is
// wiped after the run, so it never sits in a JSON object. request must not
// hold "password" itself.
WorkerReply runPdfWorker(const QJsonObject& request, const SecretBytesPtr& password, const CancelFlag& cancel,
                         int timeLimitMs);

// The worker from the given application directory: for tests and developer
// tools, whose own program lives elsewhere than the application.
WorkerReply runPdfWorker(const QJsonObject& request, const CancelFlag& cancel, int timeLimitMs,
                         const QString& applicationDirectory);
WorkerReply runPdfWorker(const QJsonObject& request, const SecretBytesPtr& password, const CancelFlag& cancel,
                         int timeLimitMs, const QString& applicationDirectory);

} // namespace velk
