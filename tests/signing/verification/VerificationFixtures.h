#pragma once

// Signed documents and the incremental updates a verification test needs,
// written byte by byte so that each shows one kind of change: a signed
// revision (approval or certification with DocMDP P, FieldMDP references
// or a /Lock) followed by revisions that add DSS data, an annotation, a
// form value, a signature, a document time stamp, or remove a page.
//
// Objects: 1 catalogue, 2 pages, 3 and 10 the pages, 4 font, 5 and 11
// their contents, 6 the signed field "imza1" with value 7, 8 the text field
// "ad", 9 the empty signature field "imza2"; later revisions add from 12.

#include "support/SignatureFill.h"
#include "support/SignedPdfFixtures.h"
#include "support/TestPki.h"

#include <QByteArray>

namespace velk::test {

struct SignedDocumentSpec {
    // 0: an approval signature; 1 to 3: a certification signature with
    // that DocMDP P.
    int docMdp = 0;
    // Further entries of the signature's /Reference array.
    QByteArray references;
    // Entries added to the signed field "imza1" (a /Lock dictionary).
    QByteArray fieldExtra;
    // "imza1" sits under the parent field "form" instead of at the top.
    bool nested = false;
    bool cades = false;
};

// The signed document, its signature covering all of it; empty on failure.
QByteArray signedDocument(TestPki& pki, const TestCertificate& signer, const SignedDocumentSpec& spec = {});

// Later revisions, each appended as a classic incremental update.
// A /DSS with these certificates, CRLs and OCSP responses.
QByteArray addDss(const QByteArray& pdf, const QList<QByteArray>& certificates, const QList<QByteArray>& crls = {},
                  const QList<QByteArray>& ocsps = {});
QByteArray addAnnotation(const QByteArray& pdf);
QByteArray fillTextField(const QByteArray& pdf, const QByteArray& value);
QByteArray removeSecondPage(const QByteArray& pdf);
// Signs the empty field "imza2" (CAdES) or stamps it with a document time
// stamp from the TSA; empty on failure.
QByteArray addSignature(const QByteArray& pdf, TestPki& pki, const TestCertificate& signer);
QByteArray addDocumentTimestamp(const QByteArray& pdf, TestPki& pki, const TestCertificate& tsa);
// Signs "imza2" with a CAdES signature carrying a signature time stamp that
// the TSA made at the (fake) time stampTime; empty on failure.
QByteArray addTimestampedSignature(const QByteArray& pdf, TestPki& pki, const TestCertificate& signer,
                                   const TestCertificate& tsa, const QString& stampTime);
// The responder's DER answer (nonce echoed, valid for `minutes`) about a
// certificate the PKI's root issued, made at the (fake) time given; empty
// on failure.
QByteArray ocspResponse(TestPki& pki, const TestCertificate& certificate, const TestCertificate& responder,
                        const QString& fakeTime, int minutes);
// An update whose trailer /Prev is wrong by one.
QByteArray addRevisionWithBadPrev(const QByteArray& pdf);

} // namespace velk::test
