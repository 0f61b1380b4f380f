#pragma once

// Every signed signature field of a document's whole field tree, nested
// fields included, read with qpdf: the values verification needs (the
// /Contents bytes, /ByteRange, /SubFilter, /M), in the order of the ends
// of their byte ranges, so that the signature over the shortest prefix of
// the file comes first.
//
// Used by the "signatures" listing. Failures are QpdfFailure: "signature
// size" (contents too long, or a byte range that is not four non-negative
// 32-bit integers), "signature count" (more signatures than listed), and
// anything else when the tree or a value cannot be read.

#include "qpdf/Qpdf.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <array>
#include <vector>

namespace velk {

struct SignedField {
    QByteArray contents;
    std::array<qint64, 4> range{};
    QString filter;
    QString time;
};

class SignedFieldWalk {
public:
    static std::vector<SignedField> read(Qpdf& qpdf, qpdf_oh catalog);
    // How many signed signature fields the tree holds, their values
    // unchecked: what "inspect" reports as the document's signatures.
    static int count(Qpdf& qpdf, qpdf_oh catalog);

private:
    explicit SignedFieldWalk(Qpdf& qpdf);

    void walkForm(qpdf_oh catalog);
    void walk(qpdf_oh kids, const QByteArray& inheritedType, int depth);
    SignedField readValue(qpdf_oh value);
    std::array<qint64, 4> readRange(qpdf_oh value);

    Qpdf& m_qpdf;
    int m_fields = 0;
    QSet<quint64> m_visited;
    std::vector<qpdf_oh> m_values;
};

} // namespace velk
