#pragma once

// Certificate revocation lists: where a certificate's CRLs are published,
// and what one CRL says about a certificate at a given time. Pure: no
// network. Any thread.

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

#include <openssl/x509.h>

namespace velk {

class CrlEvidence {
public:
    // 0 undetermined, 1 good, 2 revoked. An invalid reference time means now.
    static int checkCrl(const QByteArray& crlDer, X509* certificate, X509* issuer, const QDateTime& referenceTime);

    // URIs of full-name distribution points without reasons or CRL issuer, at most 4.
    static QStringList crlUrlsOf(X509* certificate);
};

} // namespace velk
