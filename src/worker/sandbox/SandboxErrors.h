#pragma once

// The sandbox's internal English error texts. Callers map them to their own
// sentences and only tell the "exited with code" text apart.

namespace velk::SandboxErrors {

inline constexpr char kInvalidRequest[] = "Invalid sandbox request";
inline constexpr char kLockUnavailable[] = "Sandbox ACL lock unavailable";
inline constexpr char kCancelledOrTimedOut[] = "Sandbox cancelled or timed out";
inline constexpr char kRuntimeAclUnavailable[] = "Sandbox runtime ACL unavailable";
inline constexpr char kInputAclUnavailable[] = "Sandbox input ACL unavailable";
inline constexpr char kOutputAclUnavailable[] = "Sandbox output ACL unavailable";
inline constexpr char kPipesUnavailable[] = "Sandbox pipes unavailable";
inline constexpr char kErrorSinkUnavailable[] = "Sandbox error sink unavailable";
inline constexpr char kProcessAttributesUnavailable[] = "Sandbox process attributes unavailable";
inline constexpr char kRestrictionsUnavailable[] = "Sandbox restrictions unavailable";
inline constexpr char kWorkerCouldNotStart[] = "Restricted worker could not start";
inline constexpr char kInputThreadUnavailable[] = "Sandbox input thread unavailable";
inline constexpr char kOutputFailed[] = "Sandbox output failed";
inline constexpr char kOutputLimitExceeded[] = "Sandbox output limit exceeded";
inline constexpr char kExitedWithCodePrefix[] = "Restricted worker exited with code ";
inline constexpr char kExitStatusUnavailable[] = "Sandbox exit status unavailable";

} // namespace velk::SandboxErrors
