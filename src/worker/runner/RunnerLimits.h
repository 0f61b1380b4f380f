#pragma once

// Limits of the PDF worker runner. The request and reply limits are the
// sandbox's own, so the runner refuses an over-long request before any
// process starts and the two sides never disagree.

#include "worker/sandbox/SandboxLimits.h"

#include <cstdint>

namespace velk::RunnerLimits {

inline constexpr std::int64_t kMaxRequestBytes = SandboxLimits::kMaxRequestBytes;
// Holds the largest page image the render bounds admit (32,000,000 bytes,
// 42,666,668 Base64 characters) plus the reply's other fields.
inline constexpr std::int64_t kMaxReplyBytes = SandboxLimits::kMaxOutputBytes;

// A worker that answered "ok": false exits with this status.
inline constexpr quint32 kFailedReplyExitStatus = 1;

} // namespace velk::RunnerLimits
