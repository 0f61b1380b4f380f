#pragma once

// One signature over a SHA-256 digest with the private key that belongs to
// the chosen certificate: the slot, the certificate and its single key are
// found again on every request, the PIN is used for one login (and the
// context login of an always-authenticate key) and wiped right after, and
// the device's output is checked before it is returned. Never retried.

#include "signing/TokenWorker/TokenSession.h"

#include <QByteArray>
#include <QJsonObject>

#include <vector>

namespace velk {

struct TokenSignRequest {
    QString slot;
    QByteArray id;               // CKA_ID bytes
    QByteArray certificateHash;  // lowercase hex as sent
    QByteArray digest;           // 32 bytes when valid
    bool idValid = false;
    bool digestValid = false;
};

class TokenSigning {
public:
    static TokenSignRequest readRequest(const QJsonObject& request);

    // The PIN is wiped on every path.
    static QJsonObject sign(TokenSession& session, const std::vector<CK_SLOT_ID>& slots,
                            const TokenSignRequest& request, QByteArray& pin);
};

} // namespace velk
