#pragma once

// The validation evidence a document already stores in its /DSS: the
// certificates, OCSP responses and CRLs of the DSS arrays and of every
// /VRI entry, each the decoded data of one stream, as Base64 reply arrays
// "Certs", "OCSPs" and "CRLs" without repeats.
//
// Used by "signaturePolicy" when asked for evidence. Failures are
// QpdfFailure ("VRI limit", "VRI entry", "DSS count", "DSS stream", "DSS
// size"); the operation answers them with its one sentence.

#include "qpdf/Qpdf.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

namespace velk {

class DssEvidence {
public:
    // Adds the arrays found to the reply; a document without /DSS adds
    // nothing.
    static void read(Qpdf& qpdf, qpdf_oh catalog, QJsonObject& reply);

private:
    explicit DssEvidence(Qpdf& qpdf);

    void collect(qpdf_oh value, const QString& kind, QJsonObject& reply);
    QString streamText(qpdf_oh stream);

    Qpdf& m_qpdf;
    qint64 m_bytesRead = 0;
    // Each stream is read and counted once, however many lists name it.
    QHash<quint64, QString> m_streamTexts;
};

} // namespace velk
