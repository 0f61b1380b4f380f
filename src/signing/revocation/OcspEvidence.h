#pragma once

// OCSP: the request for one certificate, where to send it, and what one
// response says about the certificate now or at a reference time. Pure: no
// network. Any thread.

#include "worker/contract/OpenSslHandles.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

namespace velk {

class OcspEvidence {
public:
    // 0 undetermined, 1 good, 2 revoked. With a request, the response must
    // echo its nonce. An invalid reference time means now.
    static int checkOcspResponse(const QByteArray& responseDer, X509* certificate, X509* issuer, X509_STORE* store,
                                 STACK_OF(X509) * untrusted, OCSP_REQUEST* request, const QDateTime& referenceTime,
                                 bool allowEarlier);

    // A request for the certificate (CertID with SHA-1) with a 32-byte nonce.
    static OcspRequestPtr buildRequest(X509* certificate, X509* issuer);
    static QByteArray encode(OCSP_REQUEST* request);

    // The first 4 OCSP responder URLs of the authority information access.
    static QStringList ocspUrlsOf(X509* certificate);
};

} // namespace velk
