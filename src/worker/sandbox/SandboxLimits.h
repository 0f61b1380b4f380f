#pragma once

// The confinement the sandbox gives a worker and the worker's self-check
// demands. Both sides include this header, so the two can never drift apart.

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace velk::SandboxLimits {

inline constexpr std::int64_t kMaxRequestBytes = 262144;
inline constexpr std::int64_t kMaxOutputBytes = 46137344;
inline constexpr int kMinTimeLimitMs = 1;
inline constexpr int kMaxTimeLimitMs = 120000;
// One "NAME=value" entry of the worker's environment.
inline constexpr std::size_t kMaxEnvironmentEntryBytes = 4096;

// Waiting for the per-user lock is sliced so that cancellation acts quickly.
inline constexpr int kLockPollMs = 40;
// The read loop waits for the worker in slices of this length.
inline constexpr int kReadWaitMs = 20;
inline constexpr std::int64_t kInputPieceBytes = 16384;
inline constexpr std::int64_t kOutputPieceBytes = 65536;

#ifdef VELK_SANITIZER_BUILD
// Sanitizer runtimes reserve terabytes of address space.
inline constexpr std::uint64_t kAddressSpaceBytes = ~std::uint64_t(0);
#else
inline constexpr std::uint64_t kAddressSpaceBytes = 0x60000000; // 1.5 GiB
#endif
// CPU seconds: the time limit rounded up; the self-check accepts at most this.
inline constexpr std::uint64_t kMaxCpuSeconds = 121;
inline constexpr std::uint64_t kMaxOpenFiles = 1024;

// The unprivileged ids the worker sees inside its user namespace.
inline constexpr uid_t kSandboxUid = 1000;
inline constexpr gid_t kSandboxGid = 1000;

} // namespace velk::SandboxLimits
