#pragma once

// The bounds of the secure store, each checked before anything is
// allocated for the bytes it bounds. The request bound lives in the worker
// profile, which the client shares.

#include <QtGlobal>

namespace velk::StoreLimits {

// A record serialised as compact JSON, the plain text that is sealed.
inline constexpr qsizetype kMaxRecordBytes = 24576;
// A record file as it lies on disk.
inline constexpr qsizetype kMaxStoredBytes = 65536;
// "test-" and 80 characters is the longest account the pattern admits.
inline constexpr qsizetype kMaxAccountLength = 85;
inline constexpr qsizetype kMaxOperationLength = 5;

} // namespace velk::StoreLimits
