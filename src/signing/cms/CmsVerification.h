#pragma once

// What a PDF signature's detached CMS proves about the signed bytes:
// structure, digest policy, cryptographic integrity, the CAdES binding of
// the signer certificate, the chain to the trust anchors, the declared
// signing time, the embedded signature time stamp and the qualified
// profile. OpenSSL does all parsing and cryptography. Pure apart from
// reading the trust file; runs on the verification or signing pool thread.

#include "signing/verification/SignatureReport.h"

#include <QByteArray>
#include <QString>

namespace velk {

class CmsVerification {
public:
    // `cms` is the Contents value (zero fill after the structure allowed);
    // an empty `trustPath` means the system authorities. With
    // `requireSigningCertificate` (CAdES) the signer must be bound by one
    // signingCertificateV2 attribute. Every failure leaves integrityValid
    // false with one Turkish sentence in `verdict`.
    static SignatureReport verifyCmsSignature(const QByteArray& cms, const QByteArray& signedBytes,
                                              const QString& trustPath, bool requireSigningCertificate);

private:
    static SignatureReport checkSignature(const QByteArray& cms, const QByteArray& signedBytes,
                                          const QString& trustPath, bool requireSigningCertificate);
};

} // namespace velk
