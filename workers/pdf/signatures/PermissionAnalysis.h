#pragma once

// What earlier signatures allow later revisions to change: the most
// restrictive certification level (DocMDP), the field locks (FieldMDP
// transforms and the /Lock of signed fields) and the number of unsigned
// signature fields. Strict: anything not fully understood is a failure,
// never a permissive answer.
//
// Called by the handlers that add signatures or evidence and by
// "signaturePolicy", on the worker's single thread. Failures are
// QpdfFailure with a short internal reason, caught once by the operation.

#include "qpdf/Qpdf.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QStringList>

namespace velk {

class PermissionAnalysis {
public:
    // {"ok": true, "docMdp", "fieldMdp", "locks", "emptySignatures"}.
    static QJsonObject permissions(Qpdf& qpdf, qpdf_oh catalog);

private:
    explicit PermissionAnalysis(Qpdf& qpdf);

    void analyseReferences(qpdf_oh signature);
    void analyseReference(qpdf_oh reference);
    void recordLock(qpdf_oh lock);
    void walkFields(qpdf_oh kids, int depth);
    void analyseField(qpdf_oh field);
    void countItem(const char* reason);
    QString description(const QByteArray& unparsed) const;
    QJsonObject result() const;

    Qpdf& m_qpdf;
    int m_items = 0;
    int m_docMdp = 0;
    QJsonArray m_locks;
    QStringList m_descriptions;
    int m_emptySignatures = 0;
    QSet<quint64> m_visitedFields;
};

} // namespace velk
