#include "update/UpdateAddress.h"

#include "update/UpdateLimits.h"

namespace velk {

QUrl UpdateAddress::channel(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || !isHttpsOrigin(url))
        return {};
    return url;
}

QUrl UpdateAddress::package(const QString& address, const QUrl& channel, const QString& platform,
                            const QString& format)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || !isHttpsOrigin(url) || url.host() != channel.host() || channel.host().isEmpty())
        return {};
    if (url.toEncoded(QUrl::FullyEncoded).size() > UpdateLimits::kMaxPackageUrlBytes)
        return {};
    // Decoded, so "%2e%2e" counts as "..".
    const QString path = url.path(QUrl::FullyDecoded);
    if (path.contains(QLatin1String("..")) || !suitsFormat(path, platform, format))
        return {};
    return url;
}

bool UpdateAddress::isHttpsOrigin(const QUrl& url)
{
    const int port = url.port();
    return url.scheme() == QLatin1String("https") && !url.host().isEmpty() && url.userInfo().isEmpty()
        && !url.hasFragment() && (port == -1 || port == UpdateLimits::kHttpsPort);
}

bool UpdateAddress::suitsFormat(const QString& path, const QString& platform, const QString& format)
{
    if (platform.startsWith(QLatin1String("linux-")))
        return format == QLatin1String("deb") && path.endsWith(QLatin1String(".deb"));
    if (platform.startsWith(QLatin1String("windows-"))) {
        const bool known = format == QLatin1String("exe") || format == QLatin1String("msi");
        return known && path.endsWith(QLatin1Char('.') + format);
    }
    return false;
}

} // namespace velk
