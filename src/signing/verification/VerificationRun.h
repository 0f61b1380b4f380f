#pragma once

// The state of one verification run and the checks of one listed
// signature: range, contents, cryptography, evidence, validation and
// permissions. Owned by verifySignatures on its pool thread.

#include "signing/verification/RevisionPolicySource.h"
#include "signing/verification/RevisionVerdicts.h"
#include "signing/verification/SignatureReport.h"
#include "signing/verification/VerificationOptions.h"

#include "signing/network/EvidenceFetchContext.h"
#include "worker/contract/operations/SignatureListContract.h"

#include <QList>
#include <QString>

namespace velk {

class VerificationRun {
public:
    VerificationRun(RevisionPolicySource& source, QString trustPath, const VerificationOptions& options);

    // Asks for the whole document's policy once, before the first signature.
    void start();
    // Checks one listed signature; its report and the archive copy (the
    // report before validation) are appended.
    void verify(const SignatureEntry& entry);

    QList<SignatureReport>& reports() { return m_reports; }
    const QList<SignatureReport>& archives() const { return m_archives; }
    const QList<LaterRevisions>& later() const { return m_later; }
    const QString& trustPath() const { return m_trustPath; }

private:
    bool checkBytes(SignatureReport& report, const SignatureEntry& entry, QByteArray& contents,
                    QByteArray& signedBytes);
    void checkCryptography(SignatureReport& report, const QString& filter, const QByteArray& contents,
                           const QByteArray& signedBytes);
    void validate(SignatureReport& report);
    void checkAuthority(SignatureReport& report);
    void finish(SignatureReport report, const SignatureReport& archive, const LaterRevisions& later);

    RevisionPolicySource& m_source;
    QString m_trustPath;
    EvidenceFetchContext m_context;
    PolicyReply m_document;
    QList<SignatureReport> m_reports;
    QList<SignatureReport> m_archives;
    QList<LaterRevisions> m_later;
};

} // namespace velk
