#pragma once

// What every revision appended after a signature changed, and whether the
// signature's certification permissions (DocMDP) and field locks
// (FieldMDP) allow it. Revisions are found by their "startxref … %%EOF"
// markers and each is compared, through the worker's canonical snapshot,
// with the one before it; one line per revision goes into the report's
// permission text. Anything that cannot be followed safely makes the
// report's revisions undetermined. Runs on the verification pool thread.

#include "signing/verification/RevisionPolicySource.h"
#include "signing/verification/SignatureReport.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>

namespace velk {

// What one later revision did.
struct RevisionChange {
    // At least one item, each "DSS/VRI doğrulama verisi" or "belge zaman
    // damgası […]", and each permitted.
    bool onlyEvidence = false;
    bool addsDocumentTimestamp = false;
};

// What all revisions after one signature did.
struct LaterRevisions {
    // Every later revision was followed and only added permitted evidence.
    bool onlyEvidence = false;
    // The byte ranges [start, end) of the revisions that added a document
    // time stamp.
    QList<QPair<qint64, qint64>> timestampRevisions;
};

class RevisionVerdicts {
public:
    // policy: the analysis of the signed revision, with its snapshot; the
    // later revisions are asked of source, which holds the file's bytes and
    // the run's cancellation flag.
    static LaterRevisions analyseRevisions(SignatureReport& report, const QJsonObject& policy,
                                           RevisionPolicySource& source);

    // Appends the line of revision number to the report's permission text.
    static RevisionChange compareRevisions(SignatureReport& report, const QJsonObject& previous,
                                           const QJsonObject& next, const QJsonObject& policy, int number);

    static bool isFieldLocked(const QString& name, const QJsonArray& locks);

    static void markRevisionsUncertain(SignatureReport& report);
};

} // namespace velk
