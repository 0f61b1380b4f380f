#include "ReleaseSigner.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace velk::test {

ReleaseSigner::ReleaseSigner()
{
    const EvpPkeyCtxPtr context(EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr));
    EVP_PKEY* key = nullptr;
    if (context && EVP_PKEY_keygen_init(context.get()) == 1 && EVP_PKEY_keygen(context.get(), &key) == 1)
        m_key.reset(key);
}

QByteArray ReleaseSigner::publicKey() const
{
    QByteArray key(32, '\0');
    size_t size = size_t(key.size());
    if (!m_key || EVP_PKEY_get_raw_public_key(m_key.get(), reinterpret_cast<unsigned char*>(key.data()), &size) != 1)
        return {};
    key.resize(qsizetype(size));
    return key;
}

QByteArray ReleaseSigner::sign(const QByteArray& message) const
{
    const EvpMdCtxPtr context(EVP_MD_CTX_new());
    QByteArray signature(64, '\0');
    size_t size = size_t(signature.size());
    if (!m_key || !context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_key.get()) != 1
        || EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                          reinterpret_cast<const unsigned char*>(message.constData()), size_t(message.size()))
            != 1)
        return {};
    signature.resize(qsizetype(size));
    return signature;
}

QByteArray ReleaseSigner::envelope(const QByteArray& payload) const
{
    QJsonObject object;
    object.insert(QStringLiteral("payload"), QString::fromLatin1(base64Url(payload)));
    object.insert(QStringLiteral("signature"), QString::fromLatin1(base64Url(sign(payload))));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray ReleaseSigner::base64Url(const QByteArray& bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace velk::test
