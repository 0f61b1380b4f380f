#pragma once

// The address rules of the update channel: the build's channel address,
// and the package address a signed description names, which must stay on
// the channel's host over HTTPS on the standard port.

#include <QString>
#include <QUrl>

namespace velk {

class UpdateAddress {
public:
    // The channel address parsed strictly; an empty URL unless it is
    // absolute HTTPS with a host, no user information, no fragment and no
    // port other than 443.
    static QUrl channel(const QString& address);

    // The package address parsed leniently; an empty URL unless it meets
    // the channel rules on the channel's own host, has no ".." in its path,
    // fits the encoded-length bound, and its format and path ending suit
    // the platform.
    static QUrl package(const QString& address, const QUrl& channel, const QString& platform,
                        const QString& format);

private:
    static bool isHttpsOrigin(const QUrl& url);
    static bool suitsFormat(const QString& path, const QString& platform, const QString& format);
};

} // namespace velk
