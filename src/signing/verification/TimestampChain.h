#pragma once

// The judgements verification makes over all reports of a document once
// each signature has been checked on its own: what the bytes after a
// signature amount to, the chain of document time stamps that protects
// older signatures and their evidence, and later additions whose integrity
// failed. Runs on the verification pool thread.

#include "signing/verification/RevisionVerdicts.h"
#include "signing/verification/SignatureReport.h"

#include <QList>
#include <QString>

namespace velk {

class TimestampChain {
public:
    // later: what the revisions after each report's signature did, by
    // index. A report that does not cover the whole file gets the sentence
    // that the current document is not protected by it, unless everything
    // after it is permitted validation data and document time stamps that
    // verified.
    static void judgeCoverage(QList<SignatureReport>& reports, const QList<LaterRevisions>& later);

    // archives: each report as it was before its own validation, by index.
    static void judgeTimestampChain(QList<SignatureReport>& reports, const QList<SignatureReport>& archives,
                                    const QString& trustPath);

    static void markFailedAdditions(QList<SignatureReport>& reports);
};

} // namespace velk
