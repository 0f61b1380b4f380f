#pragma once

// Seals and opens one account's record with AES-256-GCM under the user's
// store key. A sealed record is the header (magic and format version), a
// random 12-byte nonce, the ciphertext and the 16-byte tag. The associated
// data binds the header and the account, so a record moved to another
// account's file, or sealed under another key, does not open. The store and
// its tests share this one definition of the format.

#include "store/StoreLimits.h"
#include "worker/contract/SecretBytes.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velk {

class RecordSealing {
public:
    static constexpr qsizetype kKeyBytes = 32;
    static constexpr qsizetype kHeaderBytes = 5;
    static constexpr qsizetype kNonceBytes = 12;
    static constexpr qsizetype kTagBytes = 16;
    static constexpr qsizetype kOverheadBytes = kHeaderBytes + kNonceBytes + kTagBytes;
    // The largest plain text whose sealed form still fits a record file.
    static constexpr qsizetype kMaxPlainBytes = StoreLimits::kMaxStoredBytes - kOverheadBytes;

    // The sealed bytes, or empty when the key is not 32 bytes, the plain
    // text is too large or the cipher failed.
    static SecretBytes seal(const SecretBytes& key, const QString& account, const QByteArray& plain);

    // The plain text, or nothing when the format, the key, the account or
    // the tag does not fit. A failed tag check releases no plain text.
    static std::optional<SecretBytes> open(const SecretBytes& key, const QString& account,
                                           const QByteArray& sealed);
};

} // namespace velk
