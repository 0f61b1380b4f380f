#pragma once

// One signing request as the signature dialog gives it: placement, reason,
// the time-stamp authority, the trust anchors and the evidence levels. A
// plain value, copied into the signing task.

#include <QString>
#include <QStringList>

namespace velk {

struct SignatureOptions {
    bool visible = false;
    int page = 0;               // 0-based page of the signature field
    QString reason;             // at most 512 characters
    QString timestampAuthority; // HTTP(S) address, trimmed; empty: no time stamps
    QString trustChain;         // PEM path; empty: the system authorities
    bool ltEvidence = false;    // collect OCSP/CRL evidence and append a DSS update
    bool documentTimestamp = false; // a document time stamp after the DSS update
    QStringList privateHostAllowList;
};

} // namespace velk
