#pragma once

// Which resolved addresses an evidence request may connect to. Pure
// functions: no lookup, no state.

#include <QHostAddress>
#include <QList>
#include <QStringList>

#include <optional>

namespace velk {

class NetworkAddressPolicy {
public:
    // 6to4 (2002::/16) and Teredo (2001::/32): they tunnel to IPv4 hosts the
    // other checks cannot see, so they never pass.
    static bool isTunnelAddress(const QHostAddress& address);

    // A globally routable unicast address.
    static bool isPublicAddress(const QHostAddress& address);

    // True when the URL's host (fully encoded, as QUrl gives it) is on the
    // allow list; entries are compared in the same encoded, lower-case form.
    static bool isAllowedPrivateHost(const QString& encodedHost, const QStringList& allowList);

    // The first acceptable address in the resolver's order.
    static std::optional<QHostAddress> chooseAddress(const QList<QHostAddress>& addresses, bool privateAllowed);
};

} // namespace velk
