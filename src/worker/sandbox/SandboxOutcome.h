#pragma once

// How one sandboxed run ended, as a value callers tell apart, and the
// sandbox's internal English text for each outcome (kept for tests and
// tools, never shown to the user as such).

#include <QByteArray>
#include <QtGlobal>

namespace velk {

enum class SandboxOutcome {
    Completed,            // the worker ran and exited with status 0
    WorkerExited,         // the worker ran and exited with another status
    InvalidRequest,
    LockUnavailable,
    CancelledOrTimedOut,
    RuntimeAclUnavailable,
    InputAclUnavailable,
    OutputAclUnavailable,
    PipesUnavailable,
    ErrorSinkUnavailable,
    ProcessAttributesUnavailable,
    RestrictionsUnavailable,
    WorkerCouldNotStart,
    InputThreadUnavailable,
    OutputFailed,
    OutputLimitExceeded,
    ExitStatusUnavailable,
};

// Empty for a completed run; a worker that exited otherwise reads
// "Restricted worker exited with code 0x00000001" with its status.
QByteArray sandboxOutcomeText(SandboxOutcome outcome, quint32 exitStatus);

} // namespace velk
