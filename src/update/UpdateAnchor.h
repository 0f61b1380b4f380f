#pragma once

// The trust anchor this build verifies releases against: a raw Ed25519
// public key and the HTTPS channel address, both set when the build is
// configured (the cache values VELK_UPDATE_PUBLIC_KEY, hexadecimal, and
// VELK_UPDATE_CHANNEL). Both are empty unless a release build sets them,
// and the update service then stays unconfigured.

#include <QByteArray>
#include <QString>

namespace velk {

struct UpdateAnchor {
    QByteArray publicKey;
    QString channel;

    static UpdateAnchor shipped();
};

} // namespace velk
