#pragma once

// Turns the evidence of a signing run (certificates, OCSP responses, CRLs)
// into numbered files in the run's workspace and the "sources" list that
// asks the PDF worker to store them in the document security store. Each
// distinct item is written once; the run's total size and file count are
// bounded. One sink per signing run, used by its pool thread.

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QSet>
#include <QString>

namespace velk {

struct EvidenceSink {
    QString directory;       // the run's workspace
    QSet<QByteArray> keys;   // kind + SHA-256 of every item already written
    qint64 totalBytes = 0;
    QJsonArray sources;      // {"path", "kind", "vri"} per written file
};

class EvidenceFiles {
public:
    // kind is "Certs", "OCSPs" or "CRLs"; vri marks the new signature's own
    // evidence. False when a limit is passed or a file cannot be written.
    static bool writeEvidenceFiles(EvidenceSink& sink, const QList<QByteArray>& items, const QString& kind, bool vri);
};

} // namespace velk
