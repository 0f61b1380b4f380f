#pragma once

// The state of one chain's revocation check, shared by its steps: the
// report being filled, the trust store and untrusted certificates, the known
// evidence set aside before the check, and the notes that become its text.

#include "signing/network/EvidenceFetchContext.h"
#include "signing/verification/SignatureReport.h"

#include <QDateTime>
#include <QStringList>

#include <openssl/x509.h>

namespace velk {

struct RevocationRun {
    RevocationRun(SignatureReport& filled, EvidenceFetchContext& fetchContext) : report(filled), context(fetchContext) {}

    SignatureReport& report;
    EvidenceFetchContext& context;
    QString trustPath;
    int depth = 0;
    QDateTime referenceTime; // invalid: now
    bool allowEarlier = false;
    X509_STORE* store = nullptr;
    STACK_OF(X509) * untrusted = nullptr;
    STACK_OF(X509) * chain = nullptr;
    QList<QByteArray> knownOcsp;
    QList<QByteArray> knownCrls;
    QStringList notes;
    bool incomplete = false;
    QString lastFetchError;
};

} // namespace velk
