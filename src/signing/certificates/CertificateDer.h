#pragma once

// DER certificates to OpenSSL handles and back; the parse must consume every byte.

#include "worker/contract/OpenSslHandles.h"

#include <QByteArray>
#include <QList>

namespace velk {

class CertificateDer {
public:
    static X509Ptr parse(const QByteArray& der);
    static QByteArray encode(X509* certificate);
    // Appends the certificate's DER unless the list already holds those bytes.
    static void appendDistinct(QList<QByteArray>& list, const QByteArray& der);
};

} // namespace velk
