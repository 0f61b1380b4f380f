#pragma once

// The one way the update client asks the network for anything: a GET with
// the program's own User-Agent, HTTP/1.1 only, redirects never followed (a
// redirect answer then fails, as its status is not 200), nothing cached,
// and a transfer that ends when no data moves for eight seconds.

#include <QList>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QUrl>

namespace velk {

QNetworkRequest buildUpdateRequest(const QUrl& url);

// The same, trusting only the given authorities; the system's when the
// list is empty.
QNetworkRequest buildUpdateRequest(const QUrl& url, const QList<QSslCertificate>& authorities);

} // namespace velk
