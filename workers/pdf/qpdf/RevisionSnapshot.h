#pragma once

// The revision snapshot: canonical digests of what signatures protect, so
// that the GUI can compare a signed revision with each later one and tell
// which kind of change it made ("base", "form", "annotations", "dss",
// "trailer", and one record per form field). Built from the catalogue of a
// document read by Qpdf; nothing is written.
//
// Failures are QpdfFailure: those of SnapshotDigest, and "snapshot fields",
// "ambiguous field tree", "snapshot pages", "page kids", "annotations
// limit", "unregistered widget", "invalid annotations".

#include "qpdf/Qpdf.h"
#include "qpdf/SnapshotDigest.h"
#include "qpdf/SnapshotLimits.h"

#include <QJsonObject>
#include <QSet>

namespace velk {

class RevisionSnapshot {
public:
    // visitsUsed, when given, receives the visits the snapshot counted.
    static QJsonObject build(Qpdf& qpdf, const SnapshotLimits& limits = {}, qint64* visitsUsed = nullptr);

private:
    RevisionSnapshot(Qpdf& qpdf, const SnapshotLimits& limits);

    QJsonObject compose();
    void walkFields(qpdf_oh kids, const QString& parentName, const QByteArray& inheritedType, int depth);
    QJsonObject fieldRecord(qpdf_oh field, const QString& name, const QByteArray& type);
    void walkPages(qpdf_oh node, int depth);
    void readPage(qpdf_oh page);

    Qpdf& m_qpdf;
    SnapshotLimits m_limits;
    SnapshotDigest m_digest;
    QSet<int> m_registeredFields;
    QJsonObject m_fields;
    QJsonObject m_annotations;
};

} // namespace velk
