#pragma once

// The snapshot tests' way to a revision snapshot: qpdf reads the bytes
// in-process and the snapshot is built from them, or fails with the
// layer's internal reason.

#include "qpdf/Qpdf.h"
#include "qpdf/RevisionSnapshot.h"
#include "support/TestPaths.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace velk::test {

struct SnapshotRun {
    QJsonObject snapshot;
    QString failure;
    qint64 visits = 0;
};

inline SnapshotRun snapshotOf(const QByteArray& pdf, const SnapshotLimits& limits = {})
{
    SnapshotRun run;
    try {
        Qpdf qpdf;
        if (!qpdf.bindQpdf(applicationDirectory()))
            throw QpdfFailure("bind");
        qpdf.readMemory(pdf);
        run.snapshot = RevisionSnapshot::build(qpdf, limits, &run.visits);
    } catch (const QpdfFailure& failure) {
        run.failure = QString::fromLatin1(failure.what());
    }
    return run;
}

inline QByteArray streamBody(const QByteArray& data, const QByteArray& entries = {})
{
    return "<< /Length " + QByteArray::number(data.size()) + ' ' + entries + " >>\nstream\n" + data
           + "\nendstream";
}

inline QString sha256Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// Catalogue 1, pages 2, one page 3 with font 4 and content 5; extra
// catalogue entries, page entries and further objects (6 on) as given.
inline QList<QByteArray> basicBodies(const QByteArray& catalogExtra = {}, const QByteArray& pageExtra = {},
                                     const QList<QByteArray>& more = {})
{
    QList<QByteArray> bodies{
        "<< /Type /Catalog /Pages 2 0 R " + catalogExtra + " >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << /Font << /F1 4 0 R >> >> "
        "/Contents 5 0 R "
            + pageExtra + " >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        streamBody("BT /F1 12 Tf 10 10 Td (a) Tj ET"),
    };
    bodies += more;
    return bodies;
}

} // namespace velk::test
