#pragma once

// The only way the signing and verification code talks to the network: one
// policed HTTP(S) request for an OCSP answer, a CRL, an issuer certificate or
// a time stamp. Addresses come from certificates and users, so each request
// is checked (scheme, credentials, resolved address, budget), pinned to the
// address that passed, never redirected or proxied, and bounded in size and
// time. Blocks the calling pool thread in local event loops; never retries.

#include "signing/network/EvidenceFetchContext.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QUrl>

namespace velk {

class EvidenceFetcher {
public:
    // An empty body means GET, a non-empty one POST. Returns the response
    // body; empty with `error` set to a Turkish sentence on any failure.
    static QByteArray fetchEvidence(EvidenceFetchContext& context, const QUrl& url, const QByteArray& body,
                                    const QByteArray& contentType, QString& error);

    // The system resolver, waited for at most timeoutMs.
    static QList<QHostAddress> resolveHost(const QString& host, int timeoutMs);

private:
    static bool isAcceptableUrl(const QUrl& url);
};

} // namespace velk
