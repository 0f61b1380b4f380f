#pragma once

// One release description for the verification tables: a valid newer
// release by default, signed with a key made at test time, which each
// table row edits (payload fields, anchor, floor, clock, envelope).

#include "ReleaseSigner.h"
#include "update/ReleaseInfo.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace velk::test {

inline constexpr qint64 kIssued = 1700000000;
inline constexpr char kChannel[] = "https://updates.example.test/velk/channel.json";
inline constexpr char kPackage[] = "https://updates.example.test/pool/velk-pdf_0.5.4_amd64.deb";
inline constexpr char kDigest[] = "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";

inline const ReleaseSigner& signer()
{
    static const ReleaseSigner instance;
    return instance;
}

inline const ReleaseSigner& otherSigner()
{
    static const ReleaseSigner instance;
    return instance;
}

// One verification: a valid newer release by default, which each row edits.
struct Scenario {
    QJsonObject payload{{"v", 1},
                        {"typ", "velk-update"},
                        {"product", "velk-pdf"},
                        {"platform", "linux-amd64"},
                        {"version", "0.5.4"},
                        {"sequence", 8},
                        {"issued_at", double(kIssued)},
                        {"expires_at", double(kIssued + 86400)},
                        {"size", 1000},
                        {"sha256", kDigest},
                        {"url", kPackage},
                        {"format", "deb"}};
    // When set, signed instead of the payload object's JSON.
    QByteArray rawPayload;
    QByteArray key = signer().publicKey();
    const ReleaseSigner* signingKey = &signer();
    QString installed = QStringLiteral("0.5.3");
    QString platform = QStringLiteral("linux-amd64");
    QString channel = QString::fromLatin1(kChannel);
    UpdateFloor floor{7, kIssued - 1000, QByteArray(64, 'a')};
    // The floor's hash becomes that of the signed payload.
    bool floorHoldsThisPayload = false;
    qint64 now = kIssued + 60;
    // Applied to the finished envelope object, or to its bytes.
    std::function<void(QJsonObject&, const QByteArray& payload)> editEnvelope;
    std::function<QByteArray(QByteArray)> editBytes;

    QByteArray payloadBytes() const
    {
        return rawPayload.isNull() ? QJsonDocument(payload).toJson(QJsonDocument::Compact) : rawPayload;
    }
};

using Edit = std::function<void(Scenario&)>;

inline QByteArray envelopeOf(const Scenario& scenario)
{
    const QByteArray payload = scenario.payloadBytes();
    QJsonObject envelope{{"payload", QString::fromLatin1(ReleaseSigner::base64Url(payload))},
                         {"signature", QString::fromLatin1(ReleaseSigner::base64Url(scenario.signingKey->sign(payload)))}};
    if (scenario.editEnvelope)
        scenario.editEnvelope(envelope, payload);
    const QByteArray bytes = QJsonDocument(envelope).toJson(QJsonDocument::Compact);
    return scenario.editBytes ? scenario.editBytes(bytes) : bytes;
}

inline Edit set(const char* key, const QJsonValue& value)
{
    return [=](Scenario& s) { s.payload.insert(QLatin1String(key), value); };
}

inline Edit without(const char* key)
{
    return [=](Scenario& s) { s.payload.remove(QLatin1String(key)); };
}

inline Edit setChannel(const char* channel)
{
    return [=](Scenario& s) { s.channel = QString::fromUtf8(channel); };
}

inline Edit setUrl(const QString& url)
{
    return [=](Scenario& s) { s.payload.insert(QStringLiteral("url"), url); };
}

inline Edit setPayloadText(const char* field, const char* text)
{
    return [=](Scenario& s) {
        s.editEnvelope = [=](QJsonObject& envelope, const QByteArray&) {
            envelope.insert(QLatin1String(field), QString::fromLatin1(text));
        };
    };
}

inline Edit both(Edit first, Edit second)
{
    return [=](Scenario& s) {
        first(s);
        second(s);
    };
}

// Envelope padded with an extra member to exactly the given size.
inline Edit envelopeOfSize(qsizetype size)
{
    return [=](Scenario& s) {
        s.editBytes = [=](QByteArray bytes) {
            const QByteArray filler = ",\"pad\":\"\"}";
            bytes.chop(1);
            bytes += filler;
            bytes.insert(bytes.size() - 2, QByteArray(size - bytes.size(), 'x'));
            return bytes;
        };
    };
}


} // namespace velk::test
