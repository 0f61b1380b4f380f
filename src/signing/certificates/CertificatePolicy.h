#pragma once

// Certificate policy: whether a certificate is meant for signing documents,
// whether it declares the Turkish qualified electronic certificate (NES)
// profile of Electronic Signature Law No. 5070, and whether its verified
// chain leads to an authorised provider. Pure: reads only certificates and
// the report it is given. Called by revocation and signature checks on any
// thread.

#include "signing/verification/SignatureReport.h"

#include <QByteArray>
#include <QList>

#include <openssl/x509.h>

namespace velk {

class CertificatePolicy {
public:
    // False for a missing or CA certificate; needs digitalSignature or
    // nonRepudiation; at most one extended-key-usage extension, which (when
    // present) must name a document-signing purpose.
    static bool checkSigningPurpose(X509* certificate);

    // Sets nesQualified and nesText from the report's signer certificate,
    // chainTrusted and chain, against the built-in providers table.
    static void checkNesProfile(SignatureReport& report);

    // True when a certificate after the signer in the verified chain is a
    // CA whose SHA-256 fingerprint is in the built-in table.
    static bool isAuthorisedProviderChain(const QList<QByteArray>& chain);

    // The same against another table of SHA-256 fingerprints (32 bytes each).
    static void checkNesProfile(SignatureReport& report, const QList<QByteArray>& authorisedFingerprints);
    static bool isAuthorisedProviderChain(const QList<QByteArray>& chain,
                                          const QList<QByteArray>& authorisedFingerprints);
};

} // namespace velk
