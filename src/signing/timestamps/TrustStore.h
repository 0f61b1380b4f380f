#pragma once

// The trust anchors of time-stamp, chain and revocation checks: a PEM file
// the user chose, or the system's certificate authorities. Called on the
// verification or signing pool thread; the caller owns the store.

#include "worker/contract/OpenSslHandles.h"

#include <QString>

namespace velk {

class TrustStore {
public:
    // An empty path loads the system authorities (OpenSSL's default paths,
    // which SSL_CERT_FILE and SSL_CERT_DIR override); the store is usable
    // only when at least one certificate loaded. Null when unusable.
    static X509StorePtr loadTrustStore(const QString& path);
};

} // namespace velk
