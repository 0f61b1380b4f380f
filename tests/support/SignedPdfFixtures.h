#pragma once

// Signed PDF files made at test time: certification and approval
// signatures written into placeholders with `openssl cms`, approval
// signatures added by poppler's `pdfsig` from an NSS database the tests
// set up with `certutil` and `pk12util`, incremental revisions with a
// classic table and files with a cross-reference stream. pdfsig also
// judges the results: it exits 0 even on a digest mismatch, so its
// "Signature Validation:" lines are read instead.

#include "TestPki.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace velk::test {

// The value entries of a signature dictionary to be signed later:
// "/ByteRange [0 0000000000 0000000000 0000000000] /Contents <00…>" with
// room for contentsBytes bytes of CMS.
QByteArray signaturePlaceholder(int contentsBytes = 8192);

// The whole file of these object bodies (numbered from 1, the first the
// catalogue) with a cross-reference stream instead of a table.
QByteArray pdfWithXrefStream(const QList<QByteArray>& bodies);

// pdf with one incremental update: the objects by number, a classic
// table, and a trailer whose /Prev is pdf's last startxref. size is the
// new /Size; trailerExtra is added to the trailer as written.
QByteArray appendRevision(const QByteArray& pdf, const QMap<int, QByteArray>& objects, int size,
                          const QByteArray& trailerExtra = {});

// The numbers after every "startxref", in order.
QList<qint64> startXrefs(const QByteArray& pdf);

// Fills the last signature placeholder of pdf: fixes the byte range, signs
// the covered bytes with `openssl cms -sign` (SHA-256, detached, DER;
// CAdES when asked) and writes the hex of the CMS into /Contents. Empty
// on failure.
QByteArray signPlaceholder(const QByteArray& pdf, TestPki& pki, const TestCertificate& signer, bool cades = false);

bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// An NSS database in directory holding signer's certificate and key under
// the nickname "signer", for pdfsig.
class NssSigner {
public:
    NssSigner(TestPki& pki, const TestCertificate& signer, const QString& directory);
    bool isValid() const { return m_valid; }

    // pdfsig -add-signature (a new field), or -sign FIELD for an existing
    // one; true when pdfsig wrote the output.
    bool addSignature(const QString& input, const QString& output, const QStringList& extra = {}) const;
    bool signField(const QString& input, const QString& output, const QString& field) const;

    // pdfsig's reading of the file: one entry per "Signature Validation:"
    // line, and the "Signed Ranges:" texts.
    QStringList validations(const QString& path) const;
    QStringList signedRanges(const QString& path) const;

private:
    QByteArray pdfsig(const QStringList& arguments, bool* ok) const;

    QString m_database;
    bool m_valid = false;
};

} // namespace velk::test
