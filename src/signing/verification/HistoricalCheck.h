#pragma once

// Validation at the time a verified time stamp proves: the time-stamp
// authority's and the signer's chains and revocation status judged at the
// stamp's time, offline, from the evidence the report already holds. Runs
// on the verification pool thread.

#include "signing/verification/SignatureReport.h"

#include <QString>

namespace velk {

class HistoricalCheck {
public:
    // Sets the report's historical status and text; undetermined unless
    // the report's integrity and time stamp verified.
    static void checkHistorical(SignatureReport& report, const QString& trustPath);
};

} // namespace velk
