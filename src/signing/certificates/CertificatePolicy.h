#pragma once

// Whether a certificate is meant for signing documents. Pure: reads only the
// certificate. Called by revocation and signature checks on any thread.

#include <openssl/x509.h>

namespace velk {

class CertificatePolicy {
public:
    // False for a missing or CA certificate; needs digitalSignature or
    // nonRepudiation; at most one extended-key-usage extension, which (when
    // present) must name a document-signing purpose.
    static bool checkSigningPurpose(X509* certificate);
};

} // namespace velk
