#pragma once

// The revocation status of one certificate of a chain, from the known
// evidence first and then, when that decides nothing, from its OCSP
// responders and CRL distribution points through the evidence fetcher.

#include "signing/revocation/RevocationRun.h"

namespace velk {

class CertificateStatus {
public:
    // 0 undetermined, 1 good, 2 revoked; adds the evidence used to the
    // report and a note per source to the run.
    static int statusOf(RevocationRun& run, X509* certificate, X509* issuer);

private:
    static int fromKnownEvidence(RevocationRun& run, X509* certificate, X509* issuer);
    static int fromOcspResponders(RevocationRun& run, X509* certificate, X509* issuer);
    static int fromCrlDistributionPoints(RevocationRun& run, X509* certificate, X509* issuer);
};

} // namespace velk
