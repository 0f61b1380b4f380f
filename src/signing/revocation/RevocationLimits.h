#pragma once

// Limits of revocation checking and of the evidence a signing run stores.

#include <QtGlobal>

namespace velk::revocation {

inline constexpr int kMaxDepth = 3;                 // responder checks inside responder checks
inline constexpr int kMaxReportCertificates = 128;
inline constexpr int kMaxChainAttempts = 7;         // chain verifications, each after one fetched issuer
inline constexpr int kMinChainLength = 2;
inline constexpr int kMaxChainLength = 16;
inline constexpr int kMaxOcspUrls = 4;
inline constexpr int kMaxCrlUrls = 4;
inline constexpr int kMaxAccessEntries = 8;         // authority information access entries read for issuers
inline constexpr qint64 kMaxIssuerBytes = 65536;
inline constexpr int kMaxResponderCertificates = 32;
inline constexpr int kOcspNonceBytes = 32;
inline constexpr qint64 kClockSkewSeconds = 300;
inline constexpr qint64 kMaxOcspAgeSeconds = 604800; // 7 days
inline constexpr qint64 kMaxEvidenceBytes = 25165824;
inline constexpr int kMaxEvidenceFiles = 128;

} // namespace velk::revocation
