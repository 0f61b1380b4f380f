#include "store/RecordSealing.h"

#include "worker/contract/OpenSslHandles.h"
#include "worker/contract/SecureWipe.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

namespace velk {

namespace {

// Both constants are part of every sealed record ever written: changing
// either makes stored records unreadable.
constexpr char kMagic[] = {'V', 'L', 'K', 'S'};
constexpr char kFormatVersion = 1;
constexpr char kAccountPrefix[] = "Velk PDF secure store record for account:";

QByteArray header()
{
    QByteArray bytes(kMagic, sizeof kMagic);
    bytes.append(kFormatVersion);
    return bytes;
}

QByteArray associatedData(const QString& account)
{
    return header() + QByteArray(kAccountPrefix) + account.toUtf8();
}

const unsigned char* bytesOf(const QByteArray& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

unsigned char* writableBytesOf(QByteArray& bytes)
{
    return reinterpret_cast<unsigned char*>(bytes.data());
}

// Cipher, key, nonce and associated data in place for either direction.
EvpCipherCtxPtr startCipher(bool encrypt, const SecretBytes& key, const unsigned char* nonce,
                            const QByteArray& aad)
{
    EvpCipherCtxPtr context(EVP_CIPHER_CTX_new());
    if (!context)
        return {};
    const int direction = encrypt ? 1 : 0;
    int length = 0;
    const bool ready =
        EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, direction) == 1
        && EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, int(RecordSealing::kNonceBytes), nullptr) == 1
        && EVP_CipherInit_ex(context.get(), nullptr, nullptr,
                             reinterpret_cast<const unsigned char*>(key.data()), nonce, direction) == 1
        && EVP_CipherUpdate(context.get(), nullptr, &length, bytesOf(aad), int(aad.size())) == 1;
    return ready ? std::move(context) : EvpCipherCtxPtr();
}

} // namespace

SecretBytes RecordSealing::seal(const SecretBytes& key, const QString& account, const QByteArray& plain)
{
    if (key.size() != kKeyBytes || plain.size() > kMaxPlainBytes)
        return {};
    QByteArray sealed = header();
    sealed.resize(kOverheadBytes + plain.size());
    unsigned char* nonce = writableBytesOf(sealed) + kHeaderBytes;
    if (RAND_bytes(nonce, int(kNonceBytes)) != 1)
        return {};
    EvpCipherCtxPtr context = startCipher(true, key, nonce, associatedData(account));
    unsigned char* cipherText = nonce + kNonceBytes;
    int written = 0;
    int finalWritten = 0;
    const bool sealedOk = context
        // An update without output bytes would count as associated data.
        && (plain.isEmpty()
            || EVP_CipherUpdate(context.get(), cipherText, &written, bytesOf(plain), int(plain.size())) == 1)
        && EVP_CipherFinal_ex(context.get(), cipherText + written, &finalWritten) == 1
        && written + finalWritten == plain.size()
        && EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, int(kTagBytes),
                               cipherText + plain.size()) == 1;
    if (!sealedOk) {
        secureWipe(sealed);
        return {};
    }
    return SecretBytes(std::move(sealed));
}

std::optional<SecretBytes> RecordSealing::open(const SecretBytes& key, const QString& account,
                                               const QByteArray& sealed)
{
    if (key.size() != kKeyBytes || sealed.size() < kOverheadBytes || sealed.size() > StoreLimits::kMaxStoredBytes
        || !sealed.startsWith(header()))
        return std::nullopt;
    const unsigned char* nonce = bytesOf(sealed) + kHeaderBytes;
    const unsigned char* cipherText = nonce + kNonceBytes;
    const qsizetype cipherBytes = sealed.size() - kOverheadBytes;
    // The tag is handed over as a copy: OpenSSL's interface takes it writable.
    QByteArray tag(reinterpret_cast<const char*>(cipherText + cipherBytes), kTagBytes);
    EvpCipherCtxPtr context = startCipher(false, key, nonce, associatedData(account));
    QByteArray plain(cipherBytes, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    const bool opened = context
        && (cipherBytes == 0
            || EVP_CipherUpdate(context.get(), writableBytesOf(plain), &written, cipherText, int(cipherBytes)) == 1)
        && EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, int(kTagBytes), tag.data()) == 1
        && EVP_CipherFinal_ex(context.get(), writableBytesOf(plain) + written, &finalWritten) == 1
        && written + finalWritten == cipherBytes;
    if (!opened) {
        // What the update step decrypted is not authentic: none of it leaves.
        secureWipe(plain);
        return std::nullopt;
    }
    return SecretBytes(std::move(plain));
}

} // namespace velk
