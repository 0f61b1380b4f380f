// The verification of signed release descriptions: every refusal with its
// sentence and no partial result, the exact edges of every bound, and the
// anti-rollback rule against a floor.

#include "ReleaseScenario.h"
#include "update/ReleaseMetadata.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <functional>
#include <limits>

using namespace velk;
using namespace velk::test;

namespace {

const char* const kAnchor = "Üretim güncelleme anahtarı ve HTTPS kanalı bu derlemede yapılandırılmamış.";
const char* const kInputs = "Güncelleme kaydı, saat veya metadata boyutu geçersiz. Saati kontrol edin.";
const char* const kMetadata = "Güncelleme metadata'sı geçersiz.";
const char* const kEnvelope = "Güncelleme imza zarfı geçersiz.";
const char* const kSignature = "Güncelleme imzası doğrulanamadı. Paket indirilmedi.";
const char* const kPayload = "İmzalı güncelleme içeriği geçersiz.";
const char* const kUnsuitable =
    "Güncellemenin ürün, platform, sürüm veya boyut bilgisi uygun değil; eski sürüm yüklenmez.";
const char* const kTime = "Güncelleme metadata'sı zaman sınırları dışında veya süresi dolmuş.";
const char* const kDigestBad = "Paket özeti geçersiz.";
const char* const kAddress = "Güncelleme paketi adresi veya biçimi güvenilen kanalla uyuşmuyor.";
const char* const kRollback = "Eski veya aynı sıra numarasıyla değiştirilmiş güncelleme metadata'sı reddedildi.";

} // namespace

Q_DECLARE_METATYPE(velk::test::Edit)

class ReleaseMetadataTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifies_data();
    void verifies();
    void acceptedReleaseCarriesEveryField();
    void strictBase64Url_data();
    void strictBase64Url();

private:
    static void addAnchorAndInputRows();
    static void addEnvelopeRows();
    static void addFieldRows();
    static void addTimeAndDigestRows();
    static void addAddressRows();
    static void addFloorRows();
};

void ReleaseMetadataTest::verifies_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("upToDate");

    QTest::newRow("newer release") << Edit([](Scenario&) {}) << QString() << false;
    QTest::newRow("same as installed") << set("version", "0.5.3") << QString() << true;
    QTest::newRow("lower than installed") << set("version", "0.5.2") << QString(kUnsuitable) << false;
    addAnchorAndInputRows();
    addEnvelopeRows();
    addFieldRows();
    addTimeAndDigestRows();
    addAddressRows();
    addFloorRows();
}

void ReleaseMetadataTest::addAnchorAndInputRows()
{
    const QString anchor(kAnchor), inputs(kInputs);
    QTest::newRow("31-byte key") << Edit([](Scenario& s) { s.key.chop(1); }) << anchor << false;
    QTest::newRow("no key") << Edit([](Scenario& s) { s.key.clear(); }) << anchor << false;
    QTest::newRow("no channel") << setChannel("") << anchor << false;
    QTest::newRow("channel http") << setChannel("http://updates.example.test/velk/channel.json") << anchor << false;
    QTest::newRow("channel http:") << setChannel("http:") << anchor << false;
    QTest::newRow("channel port 8443") << setChannel("https://updates.example.test:8443/c.json") << anchor << false;
    QTest::newRow("channel user") << setChannel("https://u@updates.example.test/c.json") << anchor << false;
    QTest::newRow("channel fragment") << setChannel("https://updates.example.test/c.json#x") << anchor << false;
    QTest::newRow("channel relative") << setChannel("/velk/channel.json") << anchor << false;
    QTest::newRow("channel port 443")
        << both(setChannel("https://updates.example.test:443/c.json"),
                setUrl(QStringLiteral("https://updates.example.test:443/p/velk.deb")))
        << QString() << false;
    QTest::newRow("unknown platform")
        << both([](Scenario& s) { s.platform = QStringLiteral("linux-riscv64"); }, set("platform", "linux-riscv64"))
        << anchor << false;
    QTest::newRow("no platform") << Edit([](Scenario& s) { s.platform.clear(); }) << anchor << false;

    QTest::newRow("envelope 65536 bytes") << envelopeOfSize(65536) << QString() << false;
    QTest::newRow("envelope 65537 bytes") << envelopeOfSize(65537) << inputs << false;
    QTest::newRow("now 0") << Edit([](Scenario& s) { s.now = 0; }) << inputs << false;
    QTest::newRow("floor sequence negative") << Edit([](Scenario& s) { s.floor.sequence = -1; }) << inputs << false;
    QTest::newRow("floor high water negative") << Edit([](Scenario& s) { s.floor.highWater = -1; }) << inputs << false;
    QTest::newRow("clock behind high water, before parsing")
        << Edit([](Scenario& s) {
               s.floor.highWater = s.now + 1;
               s.editBytes = [](QByteArray) { return QByteArray("not json"); };
           })
        << inputs << false;
    QTest::newRow("clock at high water")
        << Edit([](Scenario& s) { s.floor.highWater = s.now; }) << QString() << false;
    QTest::newRow("now 2^63-1, no overflow")
        << Edit([](Scenario& s) { s.now = std::numeric_limits<qint64>::max(); }) << QString(kTime) << false;
}

void ReleaseMetadataTest::addEnvelopeRows()
{
    const QString envelope(kEnvelope), signature(kSignature);
    auto bytes = [](const char* text) {
        return Edit([=](Scenario& s) { s.editBytes = [=](QByteArray) { return QByteArray(text); }; });
    };
    QTest::newRow("envelope not JSON") << bytes("{\"payload\":") << QString(kMetadata) << false;
    QTest::newRow("envelope an array") << bytes("[]") << QString(kMetadata) << false;
    QTest::newRow("envelope empty") << bytes("") << QString(kMetadata) << false;
    auto editPayloadText = [](std::function<QString(QString)> change) {
        return Edit([=](Scenario& s) {
            s.editEnvelope = [=](QJsonObject& e, const QByteArray&) {
                e.insert(QStringLiteral("payload"), change(e.value(QStringLiteral("payload")).toString()));
            };
        });
    };
    // A payload whose length is not a multiple of three, so padding is due.
    auto unevenPayload = Edit([](Scenario& s) {
        for (int length = 1; s.payloadBytes().size() % 3 == 0; ++length)
            s.payload.insert(QStringLiteral("note"), QString(length, QLatin1Char('x')));
    });
    QTest::newRow("payload padded") << both(unevenPayload, editPayloadText([](QString t) {
        const QByteArray payload = QByteArray::fromBase64(t.toLatin1(), QByteArray::Base64UrlEncoding);
        return QString::fromLatin1(payload.toBase64(QByteArray::Base64UrlEncoding));
    })) << envelope << false;
    QTest::newRow("payload with +") << editPayloadText([](QString t) { return t.replace(0, 1, QLatin1Char('+')); })
                                    << envelope << false;
    QTest::newRow("payload with /") << editPayloadText([](QString t) { return t.replace(0, 1, QLatin1Char('/')); })
                                    << envelope << false;
    QTest::newRow("payload with space") << editPayloadText([](QString t) { return t.insert(4, QLatin1Char(' ')); })
                                        << envelope << false;
    QTest::newRow("payload empty") << setPayloadText("payload", "") << envelope << false;
    QTest::newRow("payload missing") << Edit([](Scenario& s) {
        s.editEnvelope = [](QJsonObject& e, const QByteArray&) { e.remove(QStringLiteral("payload")); };
    }) << envelope << false;
    QTest::newRow("payload a number") << Edit([](Scenario& s) {
        s.editEnvelope = [](QJsonObject& e, const QByteArray&) { e.insert(QStringLiteral("payload"), 5); };
    }) << envelope << false;
    auto signatureOf = [](qsizetype size) {
        return Edit([=](Scenario& s) {
            s.editEnvelope = [=](QJsonObject& e, const QByteArray& payload) {
                const QByteArray cut = signer().sign(payload).left(size).leftJustified(size, 'x');
                e.insert(QStringLiteral("signature"), QString::fromLatin1(ReleaseSigner::base64Url(cut)));
            };
        });
    };
    QTest::newRow("signature 63 bytes") << signatureOf(63) << envelope << false;
    QTest::newRow("signature 65 bytes") << signatureOf(65) << envelope << false;
    QTest::newRow("signature flipped bit") << Edit([](Scenario& s) {
        s.editEnvelope = [](QJsonObject& e, const QByteArray& payload) {
            QByteArray bytes = signer().sign(payload);
            bytes[10] = char(bytes.at(10) ^ 1);
            e.insert(QStringLiteral("signature"), QString::fromLatin1(ReleaseSigner::base64Url(bytes)));
        };
    }) << signature << false;
    QTest::newRow("wrong key") << Edit([](Scenario& s) { s.signingKey = &otherSigner(); }) << signature << false;
    QTest::newRow("another release's signature") << Edit([](Scenario& s) {
        s.editEnvelope = [](QJsonObject& e, const QByteArray& payload) {
            const QByteArray other = QByteArray(payload).replace("0.5.4", "0.5.5");
            e.insert(QStringLiteral("signature"), QString::fromLatin1(ReleaseSigner::base64Url(signer().sign(other))));
        };
    }) << signature << false;
    QTest::newRow("payload not JSON") << Edit([](Scenario& s) { s.rawPayload = "velk-update 0.5.4"; })
                                      << QString(kPayload) << false;
    QTest::newRow("payload an array") << Edit([](Scenario& s) { s.rawPayload = "[1]"; }) << QString(kPayload)
                                      << false;
}

void ReleaseMetadataTest::addFieldRows()
{
    const QString bad(kUnsuitable);
    QTest::newRow("v 2") << set("v", 2) << bad << false;
    QTest::newRow("v text") << set("v", "1") << bad << false;
    QTest::newRow("v missing") << without("v") << bad << false;
    QTest::newRow("typ other") << set("typ", "velk-updates") << bad << false;
    QTest::newRow("product other") << set("product", "Velk-pdf") << bad << false;
    QTest::newRow("platform linux-arm64") << set("platform", "linux-arm64") << bad << false;
    QTest::newRow("installed unparsable") << Edit([](Scenario& s) { s.installed = QStringLiteral("0.5"); }) << bad
                                          << false;
    QTest::newRow("version leading zero") << set("version", "0.5.04") << bad << false;
    QTest::newRow("version final line feed") << set("version", "0.5.4\n") << bad << false;
    QTest::newRow("version seven digits") << set("version", "1234567.0.0") << bad << false;
    QTest::newRow("version six digits") << set("version", "999999.0.0") << QString() << false;
    QTest::newRow("version a number") << set("version", 5) << bad << false;
    QTest::newRow("newer minor, lower patch") << set("version", "0.6.0") << QString() << false;
    QTest::newRow("lower minor, higher patch") << set("version", "0.4.9") << bad << false;
    QTest::newRow("sequence 5.0")
        << both(set("sequence", 5.0), [](Scenario& s) { s.floor.sequence = 4; }) << QString() << false;
    QTest::newRow("sequence 5.5") << set("sequence", 5.5) << bad << false;
    QTest::newRow("sequence text") << set("sequence", "5") << bad << false;
    QTest::newRow("sequence 0") << set("sequence", 0) << bad << false;
    QTest::newRow("sequence 2^53-1") << set("sequence", 9007199254740991.0) << QString() << false;
    QTest::newRow("sequence 2^53") << set("sequence", 9007199254740992.0) << bad << false;
    QTest::newRow("sequence 1e300") << set("sequence", 1e300) << bad << false;
    QTest::newRow("issued_at 0") << set("issued_at", 0) << bad << false;
    QTest::newRow("expires_at past year 9999") << set("expires_at", 253402300800.0) << bad << false;
    QTest::newRow("size 0") << set("size", 0) << bad << false;
    QTest::newRow("size 512 MiB") << set("size", 536870912) << QString() << false;
    QTest::newRow("size 512 MiB + 1") << set("size", 536870913) << bad << false;
    QTest::newRow("size missing") << without("size") << bad << false;
}

void ReleaseMetadataTest::addTimeAndDigestRows()
{
    const QString time(kTime), digest(kDigestBad);
    auto at = [](qint64 issued, qint64 expires, qint64 now) {
        return Edit([=](Scenario& s) {
            s.payload.insert(QStringLiteral("issued_at"), double(issued));
            s.payload.insert(QStringLiteral("expires_at"), double(expires));
            s.now = now;
        });
    };
    QTest::newRow("issued 300 s ahead") << at(kIssued, kIssued + 3600, kIssued - 300) << QString() << false;
    QTest::newRow("issued 301 s ahead") << at(kIssued, kIssued + 3600, kIssued - 301) << time << false;
    QTest::newRow("valid 604800 s") << at(kIssued, kIssued + 604800, kIssued + 1) << QString() << false;
    QTest::newRow("valid 604801 s") << at(kIssued, kIssued + 604801, kIssued + 1) << time << false;
    QTest::newRow("expires now") << at(kIssued, kIssued + 10, kIssued + 10) << time << false;
    QTest::newRow("expired") << at(kIssued, kIssued + 10, kIssued + 11) << time << false;
    QTest::newRow("expires before issue") << at(kIssued, kIssued - 1, kIssued - 100) << time << false;
    QTest::newRow("clock 8 days ahead") << at(kIssued, kIssued + 604800, kIssued + 8 * 86400) << time << false;

    QString upper = QString::fromLatin1(kDigest);
    upper.replace(QLatin1Char('a'), QLatin1Char('A'));
    QTest::newRow("sha256 upper-case") << set("sha256", upper) << digest << false;
    QTest::newRow("sha256 final line feed") << set("sha256", QString(QString::fromLatin1(kDigest) + QLatin1Char('\n')))
                                            << digest << false;
    QTest::newRow("sha256 63 digits") << set("sha256", QString::fromLatin1(kDigest).left(63)) << digest << false;
    QTest::newRow("sha256 a number") << set("sha256", 5) << digest << false;
    QTest::newRow("sha256 missing") << without("sha256") << digest << false;
}

void ReleaseMetadataTest::addAddressRows()
{
    const QString bad(kAddress);
    auto url = [](const char* text) { return setUrl(QString::fromLatin1(text)); };
    QTest::newRow("url port 8443") << url("https://updates.example.test:8443/pool/v.deb") << bad << false;
    QTest::newRow("url port 443") << url("https://updates.example.test:443/pool/v.deb") << QString() << false;
    QTest::newRow("url user") << url("https://me@updates.example.test/pool/v.deb") << bad << false;
    QTest::newRow("url fragment") << url("https://updates.example.test/pool/v.deb#x") << bad << false;
    QTest::newRow("url ..") << url("https://updates.example.test/pool/../v.deb") << bad << false;
    QTest::newRow("url %2e%2e") << url("https://updates.example.test/pool/%2e%2e/v.deb") << bad << false;
    QTest::newRow("url %2E%2E") << url("https://updates.example.test/pool/%2E%2E/v.deb") << bad << false;
    QTest::newRow("url http") << url("http://updates.example.test/pool/v.deb") << bad << false;
    QTest::newRow("url other host") << url("https://mirror.example.test/pool/v.deb") << bad << false;
    QTest::newRow("url host case") << url("https://UPDATES.example.test/pool/v.deb") << QString() << false;
    QTest::newRow("url not .deb") << url("https://updates.example.test/pool/v.deb.exe") << bad << false;
    QTest::newRow("url .DEB") << url("https://updates.example.test/pool/v.DEB") << bad << false;
    QTest::newRow("url missing") << without("url") << bad << false;
    QTest::newRow("url 2048 bytes")
        << setUrl(QStringLiteral("https://updates.example.test/") + QString(2048 - 33, QLatin1Char('p'))
                  + QStringLiteral(".deb"))
        << QString() << false;
    QTest::newRow("url 2049 bytes")
        << setUrl(QStringLiteral("https://updates.example.test/") + QString(2049 - 33, QLatin1Char('p'))
                  + QStringLiteral(".deb"))
        << bad << false;
    QTest::newRow("format exe on linux") << both(set("format", "exe"), url("https://updates.example.test/p/v.exe"))
                                         << bad << false;
    QTest::newRow("format missing") << without("format") << bad << false;
    QTest::newRow("ip host under localhost channel")
        << both(setChannel("https://localhost/c.json"), url("https://127.0.0.1/p/v.deb")) << bad << false;
    QTest::newRow("localhost channel") << both(setChannel("https://localhost/c.json"), url("https://localhost/p/v.deb"))
                                       << QString() << false;
    auto windows = [](const char* format, const char* address) {
        return Edit([=](Scenario& s) {
            s.platform = QStringLiteral("windows-amd64");
            s.payload.insert(QStringLiteral("platform"), s.platform);
            s.payload.insert(QStringLiteral("format"), QString::fromLatin1(format));
            s.payload.insert(QStringLiteral("url"), QString::fromLatin1(address));
        });
    };
    QTest::newRow("windows exe") << windows("exe", "https://updates.example.test/p/v.exe") << QString() << false;
    QTest::newRow("windows msi") << windows("msi", "https://updates.example.test/p/v.msi") << QString() << false;
    QTest::newRow("windows .EXE") << windows("exe", "https://updates.example.test/p/v.EXE") << bad << false;
    QTest::newRow("windows deb") << windows("deb", "https://updates.example.test/p/v.deb") << bad << false;
    QTest::newRow("windows msi as exe") << windows("exe", "https://updates.example.test/p/v.msi") << bad << false;
}

void ReleaseMetadataTest::addFloorRows()
{
    auto floor = [](qint64 sequence, qint64 ownSequence, bool sameHash) {
        return Edit([=](Scenario& s) {
            s.floor.sequence = sequence;
            s.payload.insert(QStringLiteral("sequence"), double(ownSequence));
            s.floorHoldsThisPayload = sameHash;
        });
    };
    QTest::newRow("floor 7, same description") << floor(7, 7, true) << QString() << false;
    QTest::newRow("floor 7, sequence 7 other payload") << floor(7, 7, false) << QString(kRollback) << false;
    QTest::newRow("floor 7, sequence 6") << floor(7, 6, false) << QString(kRollback) << false;
    QTest::newRow("floor 7, sequence 8") << floor(7, 8, false) << QString() << false;
    QTest::newRow("floor 7 without hash, sequence 7")
        << both(floor(7, 7, false), [](Scenario& s) { s.floor.manifestHash.clear(); }) << QString(kRollback) << false;
    QTest::newRow("no floor") << both(floor(0, 1, false), [](Scenario& s) {
        s.floor = UpdateFloor{};
    }) << QString() << false;
}

void ReleaseMetadataTest::verifies()
{
    QFETCH(Edit, edit);
    QFETCH(QString, error);
    QFETCH(bool, upToDate);

    Scenario scenario;
    edit(scenario);
    if (scenario.floorHoldsThisPayload)
        scenario.floor.manifestHash =
            QCryptographicHash::hash(scenario.payloadBytes(), QCryptographicHash::Sha256).toHex();
    const ReleaseInfo info = verifyReleaseMetadata(scenario.key, envelopeOf(scenario), scenario.installed,
                                                   scenario.platform, scenario.channel, scenario.floor, scenario.now);
    QCOMPARE(info.error, error);
    QCOMPARE(info.upToDate, upToDate);
    if (!error.isEmpty()) {
        // Nothing of a refused description leaves the function.
        QVERIFY(info.version.isEmpty() && info.platform.isEmpty() && info.format.isEmpty());
        QVERIFY(info.sha256.isEmpty() && info.manifestHash.isEmpty() && info.packageUrl.isEmpty());
        QCOMPARE(info.sequence + info.issuedAt + info.expiresAt + info.size, 0);
    } else {
        QCOMPARE(info.sequence, qint64(scenario.payload.value(QStringLiteral("sequence")).toDouble()));
        QCOMPARE(info.packageUrl, QUrl(scenario.payload.value(QStringLiteral("url")).toString()));
    }
}

void ReleaseMetadataTest::acceptedReleaseCarriesEveryField()
{
    Scenario scenario;
    const QByteArray payload = scenario.payloadBytes();
    const ReleaseInfo info = verifyReleaseMetadata(scenario.key, signer().envelope(payload), QStringLiteral("0.5.3"),
                                                   QStringLiteral("linux-amd64"), QString::fromLatin1(kChannel),
                                                   scenario.floor, scenario.now);
    QVERIFY2(info.error.isEmpty(), qPrintable(info.error));
    QCOMPARE(info.version, QStringLiteral("0.5.4"));
    QCOMPARE(info.platform, QStringLiteral("linux-amd64"));
    QCOMPARE(info.format, QStringLiteral("deb"));
    QCOMPARE(info.sequence, 8);
    QCOMPARE(info.issuedAt, kIssued);
    QCOMPARE(info.expiresAt, kIssued + 86400);
    QCOMPARE(info.size, 1000);
    QCOMPARE(info.sha256, QByteArray(kDigest));
    QCOMPARE(info.manifestHash, QCryptographicHash::hash(payload, QCryptographicHash::Sha256).toHex());
    QCOMPARE(info.packageUrl, QUrl(QString::fromLatin1(kPackage)));
    QVERIFY(!info.upToDate);
}

void ReleaseMetadataTest::strictBase64Url_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QByteArray>("decoded");

    QTest::newRow("unpadded") << QJsonValue("aGk") << QByteArray("hi");
    QTest::newRow("url alphabet") << QJsonValue("-_8") << QByteArray::fromHex("fbff");
    QTest::newRow("padded") << QJsonValue("aGk=") << QByteArray();
    QTest::newRow("standard alphabet +") << QJsonValue("+_8") << QByteArray();
    QTest::newRow("standard alphabet /") << QJsonValue("-/8") << QByteArray();
    QTest::newRow("unused low bits set") << QJsonValue("aGl") << QByteArray();
    QTest::newRow("single character") << QJsonValue("a") << QByteArray();
    QTest::newRow("inner space") << QJsonValue("aG k") << QByteArray();
    QTest::newRow("non-Latin-1") << QJsonValue(QStringLiteral("aGk\u0130")) << QByteArray();
    QTest::newRow("empty") << QJsonValue("") << QByteArray();
    QTest::newRow("number") << QJsonValue(5) << QByteArray();
    QTest::newRow("null") << QJsonValue() << QByteArray();
    QTest::newRow("array") << QJsonValue(QJsonArray{QStringLiteral("aGk")}) << QByteArray();
}

void ReleaseMetadataTest::strictBase64Url()
{
    QFETCH(QJsonValue, value);
    QFETCH(QByteArray, decoded);
    QCOMPARE(decodeStrictBase64Url(value), decoded);
}

QTEST_GUILESS_MAIN(ReleaseMetadataTest)
#include "ReleaseMetadataTest.moc"
