#pragma once

// Signed attributes of a CMS SignerInfo read by verification: the CAdES
// signing-certificate binding and the signer's declared signing time. Each
// attribute must occur once with exactly one value of the expected type.
// Pure; any thread.

#include <QString>

#include <openssl/cms.h>

namespace velk {

class SignerAttributes {
public:
    // One signingCertificateV2 attribute, parsed completely, whose first
    // entry names the signer; the certificates the CMS carries may satisfy
    // the later entries (an ESS list may name the signer's authorities too).
    static bool bindsSigner(CMS_SignerInfo* signerInfo, X509* signer, STACK_OF(X509)* cmsCertificates);

    // The one signingTime value as ISO-8601 UTC, or empty.
    static QString declaredSigningTime(CMS_SignerInfo* signerInfo);
};

} // namespace velk
