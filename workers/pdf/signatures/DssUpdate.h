#pragma once

// Builds the new /DSS of "appendDss" in a document read by qpdf: the old
// arrays and /VRI copied, each evidence file stored once (bytes already in
// the same array are referenced, not repeated), one /VRI entry added or
// replaced, and a store the evidence reading can take back (at most 128
// items per array, 128 /VRI entries, 24 MiB of evidence). Failures are
// QpdfFailure with a short internal reason.

#include "qpdf/Qpdf.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace velk {

struct EvidenceSource {
    // "Certs", "OCSPs" or "CRLs".
    QString kind;
    QByteArray data;
    bool vri = true;
};

class DssUpdate {
public:
    // vriKey: 40 upper-case hex digits, checked by the caller.
    static void build(Qpdf& qpdf, qpdf_oh catalog, const QByteArray& vriKey, bool documentTimestamp,
                      const QList<EvidenceSource>& sources);

private:
    DssUpdate(Qpdf& qpdf, qpdf_oh dss);

    qpdf_oh addKind(const char* name, const QList<EvidenceSource>& sources, qpdf_oh entry, const char* vriName);
    QHash<QByteArray, qpdf_oh> storedStreams(qpdf_oh array);
    void countBytes(qint64 bytes);

    Qpdf& m_qpdf;
    qpdf_oh m_dss;
    qint64 m_bytes = 0;
};

} // namespace velk
