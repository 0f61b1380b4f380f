#include "signing/token/TokenSignFunction.h"

#include "signing/token/TokenClientMessages.h"
#include "signing/token/TokenWorkerClient.h"
#include "worker/contract/WorkerContract.h"
#include "worker/contract/JsonFields.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace velk {

namespace {

// A signature value is at most the worker's 1,024-byte buffer, DER-wrapped.
constexpr qsizetype kMaxSignatureBytes = 2048;

QString sha256Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

QJsonObject TokenSigner::listRequest(const QString& modulePath, const QByteArray& moduleHash)
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("list")},
                       {QStringLiteral("module"), modulePath},
                       {QStringLiteral("moduleHash"), QString::fromLatin1(moduleHash)}};
}

QJsonObject TokenSigner::signRequest(const SigningIdentity& identity, const QByteArray& data)
{
    return QJsonObject{{QStringLiteral("operation"), QStringLiteral("sign")},
                       {QStringLiteral("module"), identity.modulePath},
                       {QStringLiteral("moduleHash"), QString::fromLatin1(identity.moduleHash)},
                       {QStringLiteral("slot"), identity.slot},
                       {QStringLiteral("id"), QString::fromLatin1(identity.keyId.toHex())},
                       {QStringLiteral("certificateHash"), sha256Hex(identity.certificate)},
                       {QStringLiteral("digest"), sha256Hex(data)}};
}

TokenSignFunction TokenSigner::make(const SigningIdentity& identity, const CancelFlag& cancel,
                                    const SecretBytesPtr& pin, const QString& applicationDirectory)
{
    return [identity, cancel, pin, applicationDirectory](const QByteArray& data, QString& error) -> QByteArray {
        QJsonObject request = signRequest(identity, data);
        QByteArray copy = pin ? QByteArray(pin->data(), pin->size()) : QByteArray();
        SecretBytes pinCopy(std::move(copy));
        const QString directory =
            applicationDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : applicationDirectory;
        const QJsonObject reply = runTokenWorker(request, cancel, std::move(pinCopy), directory);
        if (!WorkerContract::isOk(reply)) {
            error = reply.value(QStringLiteral("error")).toString();
            return {};
        }
        if (!reply.contains(QStringLiteral("signature")))
            return {};
        const auto signature = JsonFields::base64(reply, QStringLiteral("signature"), kMaxSignatureBytes);
        if (!signature)
            error = QString::fromUtf8(TokenClientMessages::kInvalidReply);
        return signature.value_or(QByteArray());
    };
}

} // namespace velk
