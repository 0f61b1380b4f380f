#pragma once

// The bounds of the update client, each checked before the bytes it bounds
// are parsed or used.

#include <QtGlobal>

namespace velk::UpdateLimits {

// A signed release description as downloaded.
inline constexpr qsizetype kMaxEnvelopeBytes = 65536;
// The signed payload inside it, once decoded.
inline constexpr qsizetype kMaxPayloadBytes = 49152;
inline constexpr qsizetype kEd25519PublicKeyBytes = 32;
inline constexpr qsizetype kEd25519SignatureBytes = 64;
// A package address in its fully encoded form.
inline constexpr qsizetype kMaxPackageUrlBytes = 2048;

// Largest integer a JSON number carries exactly (2^53 - 1).
inline constexpr qint64 kMaxSequence = 9007199254740991;
// 9999-12-31 23:59:59 UTC.
inline constexpr qint64 kMaxTimestamp = 253402300799;
inline constexpr qint64 kMaxPackageBytes = 536870912;
// A description may be issued this far ahead of the local clock.
inline constexpr qint64 kClockSkewSeconds = 300;
// Longest validity a description may claim: seven days.
inline constexpr qint64 kMaxValiditySeconds = 604800;
// Each version component has at most six digits.
inline constexpr qsizetype kMaxVersionLength = 20;
inline constexpr int kHttpsPort = 443;

// A machine-id file: 32 hexadecimal digits and a line feed.
inline constexpr qsizetype kMachineIdDigits = 32;
inline constexpr qsizetype kMaxMachineIdFileBytes = 33;

// The most the secure store may answer: a sealed record's plain text is
// bounded well below this by the store itself.
inline constexpr qsizetype kMaxStoreReplyBytes = 65536;

// The release description and the package travel with no more than this
// between two pieces of data before the transfer is abandoned.
inline constexpr int kTransferStallMs = 8000;
// The whole description, from request to end.
inline constexpr int kDescriptionTimeLimitMs = 8000;
// The whole package download: a base, plus a second for every 256 KiB the
// signed description announces (about 256 KiB/s at the least), capped at
// an hour, so large packages finish on slow links and none runs forever.
inline constexpr qint64 kDownloadBaseSeconds = 120;
inline constexpr qint64 kDownloadBytesPerSecond = 262144;
inline constexpr qint64 kMaxDownloadSeconds = 3600;
inline constexpr qint64 kPackageReadBufferBytes = 1048576;
// The package is written and hashed in pieces of at most this.
inline constexpr qint64 kPackageChunkBytes = 65536;
// A downloaded package is re-hashed in blocks of this.
inline constexpr qint64 kPackageHashBlockBytes = 1048576;
// How often a wait for the per-user update lock looks at the cancellation flag.
inline constexpr int kLockPollMs = 40;

} // namespace velk::UpdateLimits
