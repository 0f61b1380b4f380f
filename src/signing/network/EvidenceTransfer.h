#pragma once

// One HTTP(S) exchange of an evidence request, after the policy checks:
// connects to the chosen address while naming (Host, TLS peer name and SNI)
// the host of the URL, follows no redirect, uses no proxy and no HTTP/2, and
// aborts on an oversized body, a cancelled run, a slow server or a spent
// run budget. Runs in a local event loop on the caller's thread.

#include "signing/network/EvidenceFetchContext.h"

#include <QByteArray>
#include <QHostAddress>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

namespace velk {

class EvidenceTransfer {
public:
    static QByteArray run(EvidenceFetchContext& context, const QUrl& url, const QHostAddress& address,
                          const QByteArray& body, const QByteArray& contentType, QString& error);

    // The request as sent: URL pinned to the address, headers and TLS settings.
    static QNetworkRequest buildRequest(const QUrl& url, const QHostAddress& address, const QByteArray& contentType);
};

} // namespace velk
