#pragma once

// Limits of one verification run, each checked before the work it bounds.

#include <QtGlobal>

namespace velk::VerificationLimits {

// The document bytes verification re-reads itself: 128 MiB.
inline constexpr qint64 kMaxVerifiedFileBytes = qint64(128) * 1024 * 1024;
// The /Contents gap of one signature: 65,536 bytes as hex plus "<" and ">".
inline constexpr qint64 kMaxContentsGap = 131074;
// Each "signatures" and "signaturePolicy" run.
inline constexpr int kWorkerTimeLimitMs = 20000;
// Revisions after one signature that are still classified.
inline constexpr int kMaxLaterRevisions = 64;
// Stored evidence items of one kind in a policy reply: the worker allows
// 128 per array of the security store and of each of its 128 VRI entries.
inline constexpr qsizetype kMaxStoredEvidenceItems = 128 * 129;
// A revision number after "startxref": more digits than this cannot be an
// offset into a file of at most 128 MiB.
inline constexpr int kMaxOffsetDigits = 15;

} // namespace velk::VerificationLimits
