#include "signing/TokenWorker/TokenSigning.h"

#include "worker/contract/SecureWipe.h"
#include "signing/TokenWorker/TokenErrorMessage.h"
#include "signing/TokenWorker/TokenObjects.h"
#include "signing/TokenWorker/TokenWorkerLimits.h"
#include "signing/TokenWorker/TokenWorkerMessages.h"
#include "worker/contract/WorkerContract.h"
#include "worker/contract/JsonFields.h"
#include "worker/contract/OpenSslHandles.h"

#include <QCryptographicHash>

#include <openssl/bn.h>
#include <openssl/ecdsa.h>

namespace velk {

namespace {

enum class KeyKind { Rsa, Ec, Other };

struct CertificateKey {
    KeyKind kind = KeyKind::Other;
    int bits = 0;
};

// DER prefix of a SHA-256 DigestInfo: the RSA key signs prefix + digest.
constexpr unsigned char kSha256DigestInfoPrefix[] = {0x30, 0x31, 0x30, 0x0d, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01,
                                                     0x65, 0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20};

QJsonObject failure(QByteArray& pin, const QString& message)
{
    secureWipe(pin);
    return WorkerContract::errorReply(message);
}

QJsonObject failure(QByteArray& pin, const char* message)
{
    return failure(pin, QString::fromUtf8(message));
}

CertificateKey classify(const QByteArray& der)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(der.constData());
    const X509Ptr certificate(d2i_X509(nullptr, &cursor, long(der.size())));
    const EVP_PKEY* key = certificate ? X509_get0_pubkey(certificate.get()) : nullptr;
    if (!key)
        return {};
    const int id = EVP_PKEY_get_base_id(key);
    const KeyKind kind = id == EVP_PKEY_RSA ? KeyKind::Rsa : id == EVP_PKEY_EC ? KeyKind::Ec : KeyKind::Other;
    return {kind, EVP_PKEY_get_bits(key)};
}

bool isAcceptedKey(const CertificateKey& key)
{
    return (key.kind == KeyKind::Rsa && key.bits >= TokenWorkerLimits::kMinRsaBits)
        || (key.kind == KeyKind::Ec && key.bits >= TokenWorkerLimits::kMinEcBits);
}

// The certificate under the id whose SHA-256 matches; a later match
// replaces an earlier one.
QByteArray matchingCertificate(TokenSession& session, const TokenSignRequest& request)
{
    QByteArray matched;
    const auto handles =
        TokenObjects::findTokenObjects(session.functions(), session.handle(), CKO_CERTIFICATE, request.id);
    for (const CK_OBJECT_HANDLE handle : handles) {
        const QByteArray value =
            TokenObjects::readTokenAttribute(session.functions(), session.handle(), handle, CKA_VALUE);
        if (!value.isEmpty()
            && QCryptographicHash::hash(value, QCryptographicHash::Sha256).toHex() == request.certificateHash)
            matched = value;
    }
    return matched;
}

// r then s, n bytes each, as a DER ECDSA-Sig-Value; empty on failure.
QByteArray ecdsaDer(const QByteArray& raw)
{
    const qsizetype half = raw.size() / 2;
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.constData());
    BIGNUM* r = BN_bin2bn(bytes, int(half), nullptr);
    BIGNUM* s = BN_bin2bn(bytes + half, int(half), nullptr);
    ECDSA_SIG* signature = ECDSA_SIG_new();
    if (!r || !s || !signature || ECDSA_SIG_set0(signature, r, s) != 1) {
        BN_free(r);
        BN_free(s);
        ECDSA_SIG_free(signature);
        return {};
    }
    unsigned char* der = nullptr;
    const int length = i2d_ECDSA_SIG(signature, &der);
    QByteArray encoded;
    if (length > 0)
        encoded = QByteArray(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    ECDSA_SIG_free(signature);
    return encoded;
}

QJsonObject signWithKey(TokenSession& session, CK_OBJECT_HANDLE key, const CertificateKey& certificateKey,
                        const QByteArray& digest, QByteArray& pin, bool protectedPath)
{
    CK_FUNCTION_LIST* functions = session.functions();
    QByteArray data = digest;
    CK_MECHANISM mechanism{CKM_ECDSA, nullptr, 0};
    if (certificateKey.kind == KeyKind::Rsa) {
        data.prepend(reinterpret_cast<const char*>(kSha256DigestInfoPrefix), sizeof kSha256DigestInfoPrefix);
        mechanism.mechanism = CKM_RSA_PKCS;
    }
    const QByteArray alwaysAuthenticate =
        TokenObjects::readTokenAttribute(functions, session.handle(), key, CKA_ALWAYS_AUTHENTICATE);
    CK_RV rv = functions->C_SignInit(session.handle(), &mechanism, key);
    if (rv == CKR_OK && !alwaysAuthenticate.isEmpty() && alwaysAuthenticate.at(0) != 0)
        rv = session.loginContext(pin, protectedPath);
    secureWipe(pin);
    if (rv != CKR_OK)
        return WorkerContract::errorReply(tokenErrorMessage(rv));

    QByteArray output(qsizetype(TokenWorkerLimits::kSignatureBufferBytes), '\0');
    CK_ULONG length = TokenWorkerLimits::kSignatureBufferBytes;
    rv = functions->C_Sign(session.handle(), reinterpret_cast<CK_BYTE*>(data.data()), CK_ULONG(data.size()),
                           reinterpret_cast<CK_BYTE*>(output.data()), &length);
    if (rv != CKR_OK || length == 0 || length > TokenWorkerLimits::kSignatureBufferBytes)
        return WorkerContract::errorReply(tokenErrorMessage(rv));
    output.truncate(qsizetype(length));

    if (certificateKey.kind == KeyKind::Ec) {
        const qsizetype fieldBytes = (certificateKey.bits + 7) / 8;
        if (output.size() != 2 * fieldBytes)
            return WorkerContract::errorReply(QString::fromUtf8(TokenWorkerMessages::kEcdsaLength));
        output = ecdsaDer(output);
        if (output.isEmpty())
            return WorkerContract::errorReply(QString::fromUtf8(TokenWorkerMessages::kEcdsaConversion));
    }
    return QJsonObject{{QStringLiteral("ok"), true},
                       {QStringLiteral("signature"), QString::fromLatin1(output.toBase64())}};
}

QJsonObject signOnSlot(TokenSession& session, const CK_TOKEN_INFO& info, const TokenSignRequest& request,
                       QByteArray& pin)
{
    if (info.flags & TokenWorkerLimits::kPinBlockedFlags)
        return failure(pin, TokenWorkerMessages::kPinBlocked);
    const bool protectedPath = (info.flags & CKF_PROTECTED_AUTHENTICATION_PATH) != 0;
    if ((!protectedPath && (pin.isEmpty() || pin.size() > WorkerProfiles::kMaxPinBytes)) || pin.contains('\0'))
        return failure(pin, TokenWorkerMessages::kPinRequired);
    const CK_RV rv = session.loginUser(pin, protectedPath);
    if (rv != CKR_OK)
        return failure(pin, tokenErrorMessage(rv));

    const QByteArray certificate = request.id.isEmpty() ? QByteArray() : matchingCertificate(session, request);
    const auto keys = request.id.isEmpty()
        ? std::vector<CK_OBJECT_HANDLE>()
        : TokenObjects::findTokenObjects(session.functions(), session.handle(), CKO_PRIVATE_KEY, request.id);
    if (certificate.isEmpty() || keys.size() != 1)
        return failure(pin, TokenWorkerMessages::kKeyNotFound);

    const CertificateKey key = classify(certificate);
    if (!request.digestValid || request.digest.size() != TokenWorkerLimits::kDigestBytes || !isAcceptedKey(key))
        return failure(pin, TokenWorkerMessages::kAlgorithmInvalid);
    return signWithKey(session, keys.front(), key, request.digest, pin, protectedPath);
}

} // namespace

TokenSignRequest TokenSigning::readRequest(const QJsonObject& request)
{
    using TokenWorkerLimits::kMaxFieldChars;
    TokenSignRequest parsed;
    parsed.slot = JsonFields::string(request, QStringLiteral("slot"), kMaxFieldChars).value_or(QString());
    const auto id = JsonFields::hex(request, QStringLiteral("id"), kMaxFieldChars);
    parsed.idValid = id.has_value();
    parsed.id = id.value_or(QByteArray());
    parsed.certificateHash =
        JsonFields::string(request, QStringLiteral("certificateHash"), kMaxFieldChars).value_or(QString()).toLatin1();
    const auto digest = JsonFields::hex(request, QStringLiteral("digest"), kMaxFieldChars);
    parsed.digestValid = digest.has_value();
    parsed.digest = digest.value_or(QByteArray());
    return parsed;
}

QJsonObject TokenSigning::sign(TokenSession& session, const std::vector<CK_SLOT_ID>& slots,
                               const TokenSignRequest& request, QByteArray& pin)
{
    for (const CK_SLOT_ID slot : slots) {
        if (QString::number(slot) != request.slot)
            continue;
        CK_TOKEN_INFO info{};
        CK_RV rv = session.functions()->C_GetTokenInfo(slot, &info);
        if (rv == CKR_OK)
            rv = session.open(slot);
        if (rv != CKR_OK)
            return failure(pin, tokenErrorMessage(rv));
        return signOnSlot(session, info, request, pin);
    }
    return failure(pin, TokenWorkerMessages::kSlotGone);
}

} // namespace velk
