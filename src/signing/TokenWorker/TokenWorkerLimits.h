#pragma once

// Limits the token worker holds every driver to, and the token flags it
// reports. The PIN and request limits are the worker contract's.

#include <p11-kit/pkcs11.h>

#include <QtGlobal>

namespace velk::TokenWorkerLimits {

inline constexpr qint64 kMaxModuleBytes = 134217728;   // 128 MiB
inline constexpr qsizetype kMaxModulePathChars = 4096; // PATH_MAX
inline constexpr qsizetype kMaxFieldChars = 1024;      // any other request text
inline constexpr CK_ULONG kMaxSlots = 64;
inline constexpr int kMaxFoundHandles = 128;
inline constexpr int kMaxListedCertificates = 128;
inline constexpr CK_ULONG kMaxAttributeBytes = 65536;
inline constexpr CK_ULONG kSignatureBufferBytes = 1024;
inline constexpr int kMinRsaBits = 2048;
inline constexpr int kMinEcBits = 256;
inline constexpr int kDigestBytes = 32;

inline constexpr CK_FLAGS kPinWarningFlags =
    CKF_USER_PIN_COUNT_LOW | CKF_USER_PIN_FINAL_TRY | CKF_USER_PIN_LOCKED;
inline constexpr CK_FLAGS kPinBlockedFlags = CKF_USER_PIN_FINAL_TRY | CKF_USER_PIN_LOCKED;

} // namespace velk::TokenWorkerLimits
