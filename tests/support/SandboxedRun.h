#pragma once

// The worker tests' way to the real worker: runPdfWorker against the
// build's application directory, so the worker runs inside the real
// sandbox exactly as velk-pdf starts it; and the reply shapes the tests
// compare against.

#include "worker/runner/PdfWorkerRunner.h"

#include <QJsonObject>
#include <QString>

namespace velk::test {

inline constexpr int kInspectionTimeLimitMs = 20000;
inline constexpr int kSearchTimeLimitMs = 30000;

WorkerReply runSandboxed(const QJsonObject& request, int timeLimitMs = kInspectionTimeLimitMs);

// What every reply of an isolated worker carries under "isolation".
QJsonObject isolationPassed();

// The reply without its "isolation" object, for comparing whole replies.
QJsonObject withoutIsolation(QJsonObject reply);

// {"ok": false, "error": message, "code": code}: a refusal of the
// worker's entry.
QJsonObject failureReply(const QString& message, int code = 0);

// {"ok": false, "error": message}: the shape of every handler's refusal.
QJsonObject refusal(const QString& message);

} // namespace velk::test
