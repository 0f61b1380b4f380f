#pragma once

// Ed25519 verification of a release description: the raw 32-byte public
// key, one-shot verification over the message itself (Ed25519 hashes
// internally, so no separate digest is named).

#include <QByteArray>

namespace velk {

class Ed25519Signature {
public:
    // False on a wrong key length or form, a wrong signature, or any
    // failure inside the library.
    static bool verify(const QByteArray& publicKey, const QByteArray& message, const QByteArray& signature);
};

} // namespace velk
