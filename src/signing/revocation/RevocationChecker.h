#pragma once

// Decides whether a signer's chain is trusted and not revoked, and gathers
// the evidence that proves it into the report: first from the evidence the
// report already holds (a document's security store, an earlier check),
// then, when the run allows the network, from OCSP responders and CRL
// distribution points. Network failures leave the status undetermined, never
// revoked. Runs on the signing or verification pool thread.

#include "signing/network/EvidenceFetchContext.h"
#include "signing/verification/SignatureReport.h"

#include <QDateTime>
#include <QString>

namespace velk {

class RevocationChecker {
public:
    // An invalid reference time checks now; a valid one (a time stamp's
    // time) checks then. allowEarlier lets known OCSP answers produced before
    // the reference time count.
    static void checkRevocation(SignatureReport& report, const QString& trustPath, EvidenceFetchContext& context,
                                int depth, const QDateTime& referenceTime, bool allowEarlier);
};

} // namespace velk
