#pragma once

// A fresh Ed25519 key pair made at test time, signing release payloads and
// wrapping them in envelopes as the release tooling does.

#include "worker/contract/OpenSslHandles.h"

#include <QByteArray>

namespace velk::test {

class ReleaseSigner {
public:
    ReleaseSigner();

    // The raw 32-byte public key.
    QByteArray publicKey() const;
    // The 64-byte signature of the message.
    QByteArray sign(const QByteArray& message) const;
    // {"payload": ..., "signature": ...} in unpadded base64url.
    QByteArray envelope(const QByteArray& payload) const;

    static QByteArray base64Url(const QByteArray& bytes);

private:
    EvpPkeyPtr m_key;
};

} // namespace velk::test
