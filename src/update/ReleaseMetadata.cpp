#include "update/ReleaseMetadata.h"

#include "update/Ed25519Signature.h"
#include "update/PlatformIdentity.h"
#include "update/ReleaseVersion.h"
#include "update/UpdateAddress.h"
#include "update/UpdateLimits.h"
#include "update/UpdateMessages.h"
#include "worker/contract/JsonFields.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <optional>

namespace velk {

namespace {

// Names and formats are short; a longer value can never be right.
constexpr qsizetype kMaxNameLength = 64;

ReleaseInfo refused(const char* message)
{
    ReleaseInfo info;
    info.error = QString::fromUtf8(message);
    return info;
}

std::optional<QJsonObject> parseObject(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

bool hasText(const QJsonObject& object, const char* key, const QString& expected)
{
    const std::optional<QString> text = JsonFields::string(object, QLatin1String(key), kMaxNameLength);
    return text && *text == expected;
}

// Product, platform, version and the four integers; fills them into info.
bool readRelease(const QJsonObject& payload, const QString& installedVersion, const QString& platform,
                 ReleaseInfo& info)
{
    if (!JsonFields::integer(payload, QStringLiteral("v"), 1, 1) || !hasText(payload, "typ", QStringLiteral("velk-update"))
        || !hasText(payload, "product", QStringLiteral("velk-pdf")) || !hasText(payload, "platform", platform))
        return false;
    const std::optional<ReleaseVersion> installed = parseVersion(installedVersion);
    const std::optional<QString> versionText =
        JsonFields::string(payload, QStringLiteral("version"), UpdateLimits::kMaxVersionLength);
    const std::optional<ReleaseVersion> version = versionText ? parseVersion(*versionText) : std::nullopt;
    if (!installed || !version || *version < *installed)
        return false;
    const auto sequence = JsonFields::integer(payload, QStringLiteral("sequence"), 1, UpdateLimits::kMaxSequence);
    const auto issuedAt = JsonFields::integer(payload, QStringLiteral("issued_at"), 1, UpdateLimits::kMaxTimestamp);
    const auto expiresAt = JsonFields::integer(payload, QStringLiteral("expires_at"), 1, UpdateLimits::kMaxTimestamp);
    const auto size = JsonFields::integer(payload, QStringLiteral("size"), 1, UpdateLimits::kMaxPackageBytes);
    if (!sequence || !issuedAt || !expiresAt || !size)
        return false;
    info.version = *versionText;
    info.platform = platform;
    info.sequence = *sequence;
    info.issuedAt = *issuedAt;
    info.expiresAt = *expiresAt;
    info.size = *size;
    info.upToDate = *version == *installed;
    return true;
}

// Written so that no sum can overflow, whatever now is: both stated times
// are at most the year-9999 bound.
bool isWithinTimeWindow(const ReleaseInfo& info, qint64 now)
{
    return info.issuedAt - UpdateLimits::kClockSkewSeconds <= now && info.expiresAt > now
        && info.expiresAt > info.issuedAt && info.expiresAt - info.issuedAt <= UpdateLimits::kMaxValiditySeconds;
}

std::optional<QByteArray> packageDigest(const QJsonObject& payload)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("[0-9a-f]{64}")));
    const std::optional<QString> text =
        JsonFields::string(payload, QStringLiteral("sha256"), UpdateLimits::kMaxPayloadBytes);
    if (!text)
        return std::nullopt;
    const QByteArray bytes = text->toLatin1();
    if (!pattern.match(QString::fromLatin1(bytes)).hasMatch())
        return std::nullopt;
    return bytes;
}

bool inputsAreSound(const QByteArray& envelope, const UpdateFloor& floor, qint64 now)
{
    return envelope.size() <= UpdateLimits::kMaxEnvelopeBytes && now >= 1 && floor.sequence >= 0
        && floor.highWater >= 0 && now >= floor.highWater;
}

bool anchorIsConfigured(const QByteArray& publicKey, const QString& platform, const QString& channelAddress)
{
    return publicKey.size() == UpdateLimits::kEd25519PublicKeyBytes && isKnownPlatformIdentifier(platform)
        && !UpdateAddress::channel(channelAddress).isEmpty();
}

bool isRollback(const ReleaseInfo& info, const UpdateFloor& floor)
{
    return info.sequence < floor.sequence
        || (info.sequence == floor.sequence && info.manifestHash != floor.manifestHash);
}

// Steps after the payload is known to be signed: its fields, time window,
// package digest and address, then the floor.
ReleaseInfo checkPayload(const QByteArray& payloadBytes, const QString& installedVersion,
                         const QString& platform, const QString& channelAddress, const UpdateFloor& floor,
                         qint64 now)
{
    const std::optional<QJsonObject> payload = parseObject(payloadBytes);
    if (!payload)
        return refused(UpdateMessages::kPayloadInvalid);
    ReleaseInfo info;
    if (!readRelease(*payload, installedVersion, platform, info))
        return refused(UpdateMessages::kReleaseUnsuitable);
    if (!isWithinTimeWindow(info, now))
        return refused(UpdateMessages::kOutsideTimeWindow);
    const std::optional<QByteArray> digest = packageDigest(*payload);
    if (!digest)
        return refused(UpdateMessages::kDigestInvalid);
    info.sha256 = *digest;
    info.format = JsonFields::string(*payload, QStringLiteral("format"), kMaxNameLength).value_or(QString());
    const QString address =
        JsonFields::string(*payload, QStringLiteral("url"), UpdateLimits::kMaxPayloadBytes).value_or(QString());
    info.packageUrl = UpdateAddress::package(address, UpdateAddress::channel(channelAddress), platform, info.format);
    if (info.packageUrl.isEmpty())
        return refused(UpdateMessages::kPackageAddressInvalid);
    info.manifestHash = QCryptographicHash::hash(payloadBytes, QCryptographicHash::Sha256).toHex();
    if (isRollback(info, floor))
        return refused(UpdateMessages::kRollback);
    return info;
}

} // namespace

ReleaseInfo verifyReleaseMetadata(const QByteArray& publicKey, const QByteArray& envelope,
                                  const QString& installedVersion, const QString& platform,
                                  const QString& channelAddress, const UpdateFloor& floor, qint64 now)
{
    if (!anchorIsConfigured(publicKey, platform, channelAddress))
        return refused(UpdateMessages::kAnchorUnconfigured);
    if (!inputsAreSound(envelope, floor, now))
        return refused(UpdateMessages::kInputsInvalid);
    const std::optional<QJsonObject> outer = parseObject(envelope);
    if (!outer)
        return refused(UpdateMessages::kMetadataInvalid);
    const QByteArray payload = decodeStrictBase64Url(outer->value(QStringLiteral("payload")));
    const QByteArray signature = decodeStrictBase64Url(outer->value(QStringLiteral("signature")));
    if (payload.isEmpty() || payload.size() > UpdateLimits::kMaxPayloadBytes
        || signature.size() != UpdateLimits::kEd25519SignatureBytes)
        return refused(UpdateMessages::kEnvelopeInvalid);
    if (!Ed25519Signature::verify(publicKey, payload, signature))
        return refused(UpdateMessages::kSignatureInvalid);
    return checkPayload(payload, installedVersion, platform, channelAddress, floor, now);
}

QByteArray decodeStrictBase64Url(const QJsonValue& value)
{
    if (!value.isString())
        return {};
    const QByteArray text = value.toString().toLatin1();
    const auto options = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(text, options | QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
        return {};
    // Padding, a stray '=' or unused low bits in the last character all
    // re-encode differently.
    if (decoded.decoded.toBase64(options) != text)
        return {};
    return decoded.decoded;
}

} // namespace velk
