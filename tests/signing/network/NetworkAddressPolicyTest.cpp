// Which resolved addresses an evidence request may reach: every non-public
// range, IPv4 in IPv6 form, tunnels, and the choice among several answers.

#include "signing/network/NetworkAddressPolicy.h"

#include <QtTest>

using velk::NetworkAddressPolicy;

class NetworkAddressPolicyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isPublicAddress_data();
    void isPublicAddress();
    void tunnels_data();
    void tunnels();
    void chooseAddress_data();
    void chooseAddress();
    void allowList_data();
    void allowList();
};

void NetworkAddressPolicyTest::isPublicAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("isPublic");
    const QList<QPair<const char*, bool>> rows = {
        {"1.2.3.4", true},          {"8.8.8.8", true},           {"0.0.0.0", false},
        {"0.1.2.3", false},         {"10.1.2.3", false},         {"127.0.0.1", false},
        {"127.255.255.254", false}, {"224.0.0.1", false},        {"240.0.0.1", false},
        {"255.255.255.255", false}, {"169.254.1.1", false},      {"192.168.1.1", false},
        {"172.16.0.1", false},      {"172.31.255.255", false},   {"172.32.0.1", true},
        {"172.15.255.255", true},   {"100.64.0.1", false},       {"100.127.255.255", false},
        {"100.128.0.1", true},      {"192.0.0.8", false},        {"192.0.1.1", true},
        {"192.0.2.5", false},       {"198.18.0.1", false},       {"198.19.255.255", false},
        {"198.20.0.1", true},       {"198.51.100.7", false},     {"203.0.113.9", false},
        {"223.255.255.255", true},  {"::ffff:10.0.0.1", false},  {"::ffff:1.2.3.4", true},
        {"::ffff:127.0.0.1", false}, {"::", false},              {"::1", false},
        {"fe80::1", false},         {"fc00::1", false},          {"fd12:3456::1", false},
        {"ff02::1", false},         {"2001:db8::1", true},       {"2a00:1450::1", true},
        {"2002:7f00:1::1", false},  {"2001:0:1234::1", false},   {"2001:1::1", true},
        {"4000::1", false},         {"3fff::1", true},           {"1fff::1", false},
    };
    for (const auto& [address, isPublic] : rows)
        QTest::newRow(address) << QString::fromLatin1(address) << isPublic;
    QTest::newRow("null") << QString() << false;
}

void NetworkAddressPolicyTest::isPublicAddress()
{
    QFETCH(QString, address);
    QFETCH(bool, isPublic);
    QCOMPARE(NetworkAddressPolicy::isPublicAddress(QHostAddress(address)), isPublic);
}

void NetworkAddressPolicyTest::tunnels_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("isTunnel");
    QTest::newRow("6to4") << "2002:c000:0204::1" << true;
    QTest::newRow("6to4 loopback") << "2002:7f00:1::1" << true;
    QTest::newRow("teredo") << "2001:0:4136:e378::1" << true;
    QTest::newRow("teredo edge") << "2001:0:ffff:ffff::1" << true;
    QTest::newRow("next to teredo") << "2001:1::1" << false;
    QTest::newRow("global") << "2a00:1450::1" << false;
    QTest::newRow("ipv4") << "1.2.3.4" << false;
}

void NetworkAddressPolicyTest::tunnels()
{
    QFETCH(QString, address);
    QFETCH(bool, isTunnel);
    QCOMPARE(NetworkAddressPolicy::isTunnelAddress(QHostAddress(address)), isTunnel);
}

void NetworkAddressPolicyTest::chooseAddress_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("chosen"); // empty: none

    QTest::newRow("private then public") << QStringList{"192.168.1.1", "1.2.3.4"} << false << "1.2.3.4";
    QTest::newRow("private allowed keeps order") << QStringList{"192.168.1.1", "1.2.3.4"} << true << "192.168.1.1";
    QTest::newRow("only private") << QStringList{"10.1.2.3"} << false << "";
    QTest::newRow("only private allowed") << QStringList{"10.1.2.3"} << true << "10.1.2.3";
    QTest::newRow("shared space") << QStringList{"100.64.0.1"} << false << "";
    QTest::newRow("benchmarking") << QStringList{"198.18.0.1"} << false << "";
    QTest::newRow("tunnel even when allowed") << QStringList{"2002::1"} << true << "";
    QTest::newRow("tunnel skipped for loopback") << QStringList{"2002:7f00:1::1", "127.0.0.1"} << true
                                                 << "127.0.0.1";
    QTest::newRow("nothing") << QStringList{} << true << "";
}

void NetworkAddressPolicyTest::chooseAddress()
{
    QFETCH(QStringList, addresses);
    QFETCH(bool, allowed);
    QFETCH(QString, chosen);
    QList<QHostAddress> list;
    for (const QString& text : addresses)
        list.append(QHostAddress(text));
    const std::optional<QHostAddress> result = NetworkAddressPolicy::chooseAddress(list, allowed);
    QCOMPARE(result.has_value(), !chosen.isEmpty());
    if (result)
        QCOMPARE(*result, QHostAddress(chosen));
}

void NetworkAddressPolicyTest::allowList_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("allowList");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("exact") << "http://evidence.test/" << QStringList{"evidence.test"} << true;
    QTest::newRow("capitals in the entry") << "http://evidence.test/" << QStringList{"EVIDENCE.test"} << true;
    QTest::newRow("capitals in the URL") << "http://EVIDENCE.TEST/" << QStringList{"evidence.test"} << true;
    QTest::newRow("other name") << "http://evidence.test/" << QStringList{"other.test"} << false;
    QTest::newRow("suffix is not a match") << "http://a.evidence.test/" << QStringList{"evidence.test"} << false;
    QTest::newRow("unicode entry") << QString::fromUtf8("http://türktrust.com/")
                                   << QStringList{QString::fromUtf8("türktrust.com")} << true;
    QTest::newRow("ace entry") << QString::fromUtf8("http://türktrust.com/")
                               << QStringList{QString::fromLatin1(QUrl::toAce(QString::fromUtf8("türktrust.com")))}
                               << true;
    QTest::newRow("empty list") << "http://evidence.test/" << QStringList{} << false;
}

void NetworkAddressPolicyTest::allowList()
{
    QFETCH(QString, url);
    QFETCH(QStringList, allowList);
    QFETCH(bool, allowed);
    QCOMPARE(NetworkAddressPolicy::isAllowedPrivateHost(QUrl(url).host(QUrl::FullyEncoded), allowList), allowed);
}

QTEST_GUILESS_MAIN(NetworkAddressPolicyTest)
#include "NetworkAddressPolicyTest.moc"
