#pragma once

// The certificate chosen in the signature dialog, as the listing gave it:
// everything the token worker needs to find the certificate and its key
// again. A plain value, copied into the signing task.

#include <QByteArray>
#include <QString>

namespace velk {

struct SigningIdentity {
    QString modulePath;
    QByteArray moduleHash;  // lowercase hex, as approved
    QString slot;           // decimal, as listed
    QByteArray keyId;       // CKA_ID bytes
    QByteArray certificate; // DER
};

} // namespace velk
