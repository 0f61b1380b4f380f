#include "update/Ed25519Signature.h"

#include "update/UpdateLimits.h"
#include "worker/contract/OpenSslHandles.h"

#include <openssl/err.h>

namespace velk {

bool Ed25519Signature::verify(const QByteArray& publicKey, const QByteArray& message,
                              const QByteArray& signature)
{
    if (publicKey.size() != UpdateLimits::kEd25519PublicKeyBytes
        || signature.size() != UpdateLimits::kEd25519SignatureBytes)
        return false;
    const EvpPkeyPtr key(EVP_PKEY_new_raw_public_key(
        EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char*>(publicKey.constData()),
        size_t(publicKey.size())));
    const EvpMdCtxPtr context(EVP_MD_CTX_new());
    bool valid = key && context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1
        && EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
                            size_t(signature.size()),
                            reinterpret_cast<const unsigned char*>(message.constData()),
                            size_t(message.size()))
            == 1;
    // A refused signature leaves its reason queued on this thread.
    ERR_clear_error();
    return valid;
}

} // namespace velk
