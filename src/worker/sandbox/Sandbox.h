#pragma once

// Runs one worker executable for one request inside a throw-away sandbox:
// read and execute on the application directory, read on exactly the input
// files, write on at most one output directory, no network, no child
// processes, one process with memory and CPU ceilings. Blocking; called on
// pool threads. Runs are serialised across every process of the user.

#include "worker/sandbox/SandboxOutcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace velk {

// Polled while waiting for the lock and while the worker runs; true cancels.
using CancelCheck = std::function<bool()>;

struct SandboxResult {
    QByteArray output;
    SandboxOutcome outcome = SandboxOutcome::ExitStatusUnavailable;
    // The worker's exit status when it ran and ended; 1 otherwise.
    quint32 exitStatus = 1;

    // Empty for a clean run; otherwise the outcome's internal English text.
    QByteArray error() const { return sandboxOutcomeText(outcome, exitStatus); }
};

SandboxResult runSandboxedProcess(const QString& executable, const QString& runtimeDirectory,
                                  const QStringList& readList, const QString& writeDirectory,
                                  QByteArray request, const CancelCheck& cancel, int timeLimitMs);

} // namespace velk
