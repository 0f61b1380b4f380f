#include "worker/sandbox/SandboxOutcome.h"

#include <cstdio>

namespace velk {

namespace {

const char* fixedText(SandboxOutcome outcome)
{
    switch (outcome) {
    case SandboxOutcome::Completed:
    case SandboxOutcome::WorkerExited:
        break;
    case SandboxOutcome::InvalidRequest: return "Invalid sandbox request";
    case SandboxOutcome::LockUnavailable: return "Sandbox ACL lock unavailable";
    case SandboxOutcome::CancelledOrTimedOut: return "Sandbox cancelled or timed out";
    case SandboxOutcome::RuntimeAclUnavailable: return "Sandbox runtime ACL unavailable";
    case SandboxOutcome::InputAclUnavailable: return "Sandbox input ACL unavailable";
    case SandboxOutcome::OutputAclUnavailable: return "Sandbox output ACL unavailable";
    case SandboxOutcome::PipesUnavailable: return "Sandbox pipes unavailable";
    case SandboxOutcome::ErrorSinkUnavailable: return "Sandbox error sink unavailable";
    case SandboxOutcome::ProcessAttributesUnavailable: return "Sandbox process attributes unavailable";
    case SandboxOutcome::RestrictionsUnavailable: return "Sandbox restrictions unavailable";
    case SandboxOutcome::WorkerCouldNotStart: return "Restricted worker could not start";
    case SandboxOutcome::InputThreadUnavailable: return "Sandbox input thread unavailable";
    case SandboxOutcome::OutputFailed: return "Sandbox output failed";
    case SandboxOutcome::OutputLimitExceeded: return "Sandbox output limit exceeded";
    case SandboxOutcome::ExitStatusUnavailable: return "Sandbox exit status unavailable";
    }
    return "";
}

} // namespace

QByteArray sandboxOutcomeText(SandboxOutcome outcome, quint32 exitStatus)
{
    if (outcome != SandboxOutcome::WorkerExited)
        return QByteArray(fixedText(outcome));
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", unsigned(exitStatus));
    QByteArray text("Restricted worker exited with code ");
    text.append(code);
    return text;
}

} // namespace velk
