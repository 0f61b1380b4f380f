#pragma once

// Completes a chain by downloading a missing issuer certificate from the
// caIssuers addresses a certificate names. Runs on the run's pool thread.

#include "signing/network/EvidenceFetchContext.h"
#include "signing/verification/SignatureReport.h"

#include <openssl/x509.h>

#include <QString>

namespace velk {

class IssuerFetcher {
public:
    // Appends the first acceptable issuer to the report's certificates and to
    // `untrusted`; false when none was found. `lastError` keeps the fetcher's
    // last sentence.
    static bool fetchIssuer(X509* certificate, SignatureReport& report, STACK_OF(X509) * untrusted,
                            EvidenceFetchContext& context, QString* lastError = nullptr);
};

} // namespace velk
