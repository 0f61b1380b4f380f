#include "update/UpdateRequest.h"

#include "update/UpdateLimits.h"

#include <QSslConfiguration>

namespace velk {

namespace {

constexpr char kInstalledVersion[] = VELK_VERSION;

} // namespace

QNetworkRequest buildUpdateRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent", QByteArray("Velk-PDF/") + kInstalledVersion);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // Qt follows same-scheme redirects by default; this answer must be the
    // channel's own.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setTransferTimeout(UpdateLimits::kTransferStallMs);
    return request;
}

QNetworkRequest buildUpdateRequest(const QUrl& url, const QList<QSslCertificate>& authorities)
{
    QNetworkRequest request = buildUpdateRequest(url);
    if (!authorities.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(authorities);
        request.setSslConfiguration(tls);
    }
    return request;
}

} // namespace velk
