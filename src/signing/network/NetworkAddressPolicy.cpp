#include "signing/network/NetworkAddressPolicy.h"

#include <QUrl>

#include <array>

namespace velk {

namespace {

struct Ipv4Range {
    quint32 network;
    int prefix;
};

constexpr quint32 ipv4(quint32 a, quint32 b, quint32 c, quint32 d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}

// Unspecified, private, loopback, shared, link-local, protocol, documentation,
// benchmarking, multicast, reserved and broadcast blocks.
constexpr std::array<Ipv4Range, 13> kNonPublicIpv4 = {{
    {ipv4(0, 0, 0, 0), 8},
    {ipv4(10, 0, 0, 0), 8},
    {ipv4(127, 0, 0, 0), 8},
    {ipv4(224, 0, 0, 0), 3},
    {ipv4(169, 254, 0, 0), 16},
    {ipv4(192, 168, 0, 0), 16},
    {ipv4(172, 16, 0, 0), 12},
    {ipv4(100, 64, 0, 0), 10},
    {ipv4(192, 0, 0, 0), 24},
    {ipv4(192, 0, 2, 0), 24},
    {ipv4(198, 18, 0, 0), 15},
    {ipv4(198, 51, 100, 0), 24},
    {ipv4(203, 0, 113, 0), 24},
}};

bool inRange(quint32 address, const Ipv4Range& range)
{
    const quint32 mask = range.prefix == 0 ? 0 : ~quint32(0) << (32 - range.prefix);
    return (address & mask) == (range.network & mask);
}

} // namespace

bool NetworkAddressPolicy::isTunnelAddress(const QHostAddress& address)
{
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    return address.isInSubnet(QHostAddress(QStringLiteral("2002::")), 16)
           || address.isInSubnet(QHostAddress(QStringLiteral("2001::")), 32);
}

bool NetworkAddressPolicy::isPublicAddress(const QHostAddress& address)
{
    if (address.isNull() || address.isLoopback() || address.isLinkLocal() || address.isMulticast())
        return false;
    bool isIpv4 = false;
    const quint32 v4 = address.toIPv4Address(&isIpv4);
    if (isIpv4) {
        for (const Ipv4Range& range : kNonPublicIpv4) {
            if (inRange(v4, range))
                return false;
        }
        return true;
    }
    if (isTunnelAddress(address))
        return false;
    return address.isInSubnet(QHostAddress(QStringLiteral("2000::")), 3);
}

bool NetworkAddressPolicy::isAllowedPrivateHost(const QString& encodedHost, const QStringList& allowList)
{
    const QString host = encodedHost.toLower();
    for (const QString& entry : allowList) {
        const QString encoded = QString::fromLatin1(QUrl::toAce(entry.trimmed().toLower()));
        if (!encoded.isEmpty() && encoded == host)
            return true;
    }
    return false;
}

std::optional<QHostAddress> NetworkAddressPolicy::chooseAddress(const QList<QHostAddress>& addresses,
                                                                bool privateAllowed)
{
    for (const QHostAddress& address : addresses) {
        if (isTunnelAddress(address))
            continue;
        if (privateAllowed || isPublicAddress(address))
            return address;
    }
    return std::nullopt;
}

} // namespace velk
