#pragma once

// Limits of every evidence request (OCSP, CRL, issuer certificate, time
// stamp): addresses come from certificates and users, so each request is
// bounded in time, size and number.

#include <QtGlobal>

namespace velk::evidence {

inline constexpr qint64 kContextTimeLimitMs = 60000;
inline constexpr int kMaxRequestsPerContext = 24;
inline constexpr int kResolveTimeoutMs = 3000;
inline constexpr qint64 kRequestTimeLimitMs = 8000;
inline constexpr int kWatchIntervalMs = 50;
inline constexpr qsizetype kMaxEncodedUrlBytes = 4096;
inline constexpr qint64 kMaxBodyBytes = 16777216;
inline constexpr qint64 kReadBufferBytes = 65536;

} // namespace velk::evidence
