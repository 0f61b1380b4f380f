#pragma once

// The detached SignedData of one signer, encoded by hand in DER: OpenSSL
// cannot place a signature made outside it (by a token) into a SignerInfo.
// Pure; any thread.

#include <QByteArray>

#include <openssl/x509.h>

namespace velk {

class SignedDataEncoder {
public:
    // ContentInfo { signedData } with SHA-256, the signer's certificate
    // only, `signedAttributes` as the content of [0] IMPLICIT and the
    // signature algorithm of the key (rsaEncryption or ecdsa-with-SHA256).
    // Empty when the certificate's issuer or serial does not encode.
    static QByteArray encode(X509* certificate, const QByteArray& signedAttributes, const QByteArray& signature);
};

} // namespace velk
