#include "signing/verification/VerificationFixtures.h"

#include "workers/pdf/signatures/SignatureFixtureDocuments.h"

#include "signing/cms/CmsFixtures.h"

#include <QFile>

namespace velk::test {

namespace {

const QByteArray kFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
const QByteArray kTextField = "<< /FT /Tx /T (ad) /V (eski) /Subtype /Widget /Rect [20 20 120 40] /P 3 0 R /F 4 >>";
const QByteArray kEmptySignatureField =
    "<< /FT /Sig /T (imza2) /Subtype /Widget /Rect [0 0 0 0] /F 132 /P 3 0 R >>";
// The reservation the worker writes, so that SignatureFill fills it.
const QByteArray kReservation = "/ByteRange [0 1111111111 2222222222 3333333333] /Contents <"
                                + QByteArray("a5").repeated(16) + QByteArray("00").repeated(32768 - 16) + ">";

QByteArray catalog(const QByteArray& fields, const QByteArray& extra)
{
    return "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [" + fields + "] /SigFlags 3 >> " + extra + " >>";
}

QByteArray page(int contents, const QByteArray& annots)
{
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Resources << /Font << /F1 4 0 R >> >> /Contents "
           + QByteArray::number(contents) + " 0 R /Annots [" + annots + "] >>";
}

const QByteArray kAnnots = "6 0 R 8 0 R 9 0 R";
// Above every object number an update uses.
constexpr int kSize = 30;

// The latest catalogue of pdf with entry added.
QByteArray catalogWith(const QByteArray& pdf, const QByteArray& entry)
{
    const qsizetype start = pdf.lastIndexOf("\n1 0 obj\n");
    const qsizetype end = pdf.indexOf("\nendobj", start);
    if (start < 0 || end < 0)
        return {};
    QByteArray body = pdf.mid(start + 9, end - start - 9).trimmed();
    body.chop(2);
    return body + ' ' + entry + " >>";
}

} // namespace

QByteArray signedDocument(TestPki& pki, const TestCertificate& signer, const SignedDocumentSpec& spec)
{
    QByteArray references = spec.references;
    if (spec.docMdp > 0)
        references = docMdpReference("/P " + QByteArray::number(spec.docMdp)) + ' ' + references;
    const QByteArray value = signatureValue(references.trimmed(),
                                            spec.cades ? "/ETSI.CAdES.detached" : "/adbe.pkcs7.detached");
    const QByteArray parent = spec.nested ? " /Parent 12 0 R" : QByteArray();
    const QByteArray field = "<< /FT /Sig /T (imza1) /Subtype /Widget /Rect [0 0 0 0] /F 132 /P 3 0 R /V 7 0 R"
                             + parent + ' ' + spec.fieldExtra + " >>";
    const QByteArray perms = spec.docMdp > 0 ? "/Perms << /DocMDP 7 0 R >>" : QByteArray();
    QList<QByteArray> bodies{
        catalog(spec.nested ? "12 0 R 8 0 R 9 0 R" : "6 0 R 8 0 R 9 0 R", perms),
        "<< /Type /Pages /Kids [3 0 R 10 0 R] /Count 2 >>",
        page(5, kAnnots),
        kFont,
        streamObject("BT /F1 12 Tf 20 250 Td (Velk imzali sayfa) Tj ET"),
        field,
        value,
        kTextField,
        kEmptySignatureField,
        page(11, {}),
        streamObject("BT /F1 12 Tf 20 250 Td (Ikinci sayfa) Tj ET"),
    };
    if (spec.nested)
        bodies.append("<< /T (form) /Kids [6 0 R] >>");
    return signPlaceholder(pdfFromObjects(bodies), pki, signer, spec.cades);
}

QByteArray addDss(const QByteArray& pdf, const QList<QByteArray>& certificates, const QList<QByteArray>& crls,
                  const QList<QByteArray>& ocsps)
{
    QMap<int, QByteArray> objects{{1, catalogWith(pdf, "/DSS 20 0 R")}};
    QByteArray certs;
    QByteArray crlRefs;
    int number = 25; // after every other object an update adds
    for (const QByteArray& der : certificates) {
        objects.insert(number, streamObject(der));
        certs += QByteArray::number(number++) + " 0 R ";
    }
    for (const QByteArray& der : crls) {
        objects.insert(number, streamObject(der));
        crlRefs += QByteArray::number(number++) + " 0 R ";
    }
    QByteArray ocspRefs;
    for (const QByteArray& der : ocsps) {
        objects.insert(number, streamObject(der));
        ocspRefs += QByteArray::number(number++) + " 0 R ";
    }
    objects.insert(20, "<< /Certs [" + certs + "] /CRLs [" + crlRefs + "] /OCSPs [" + ocspRefs + "] >>");
    return appendRevision(pdf, objects, kSize);
}

QByteArray addAnnotation(const QByteArray& pdf)
{
    return appendRevision(pdf,
                          {{3, page(5, kAnnots + " 22 0 R")},
                           {22, "<< /Type /Annot /Subtype /Text /Rect [200 200 220 220] /Contents (Not) >>"}},
                          kSize);
}

QByteArray fillTextField(const QByteArray& pdf, const QByteArray& value)
{
    QByteArray field = kTextField;
    field.replace("/V (eski)", QByteArray("/V (" + value + ")"));
    return appendRevision(pdf, {{8, field}}, kSize);
}

QByteArray removeSecondPage(const QByteArray& pdf)
{
    return appendRevision(pdf, {{2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"}}, kSize);
}

QByteArray addSignature(const QByteArray& pdf, TestPki& pki, const TestCertificate& signer)
{
    QByteArray field = kEmptySignatureField;
    field.replace(" >>", " /V 24 0 R >>");
    const QByteArray value = "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /ETSI.CAdES.detached "
                             "/M (D:20261211130000Z) "
                             + kReservation + " >>";
    return fillSignature(appendRevision(pdf, {{9, field}, {24, value}}, kSize), pki, signer);
}

QByteArray addDocumentTimestamp(const QByteArray& pdf, TestPki& pki, const TestCertificate& tsa)
{
    QByteArray field = kEmptySignatureField;
    field.replace(" >>", " /V 24 0 R >>");
    const QByteArray value =
        "<< /Type /DocTimeStamp /Filter /Adobe.PPKLite /SubFilter /ETSI.RFC3161 " + kReservation + " >>";
    return fillTimeStamp(appendRevision(pdf, {{9, field}, {24, value}}, kSize), pki, tsa);
}

QByteArray addTimestampedSignature(const QByteArray& pdf, TestPki& pki, const TestCertificate& signer,
                                   const TestCertificate& tsa, const QString& stampTime)
{
    QByteArray field = kEmptySignatureField;
    field.replace(" >>", " /V 24 0 R >>");
    const QByteArray value =
        "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /ETSI.CAdES.detached " + kReservation + " >>";
    QByteArray file = appendRevision(pdf, {{9, field}, {24, value}}, kSize);
    const PlaceholderLocation location = locateSignaturePlaceholder(file);
    if (!location.isValid())
        return {};
    const QByteArray cms = cadesSignature(pki, signer, coveredBytes(file, location));
    // The stamp's imprint is the SHA-256 of the signature value.
    const QByteArray token = cms.isEmpty() ? QByteArray() : timeStampToken(pki, tsa, cmsSignatureValue(cms), stampTime);
    const QByteArray stamped = token.isEmpty() ? QByteArray() : withTimestampAttribute(cms, token);
    return writeSignatureValue(file, location, stamped) ? file : QByteArray();
}

QByteArray ocspResponse(TestPki& pki, const TestCertificate& certificate, const TestCertificate& responder,
                        const QString& fakeTime, int minutes)
{
    const QString request = pki.directory() + QStringLiteral("/historical-ocsp.req");
    const QString response = pki.directory() + QStringLiteral("/historical-ocsp.der");
    QFile::remove(response);
    const QString root = pki.root().certificatePath;
    if (!pki.openssl({"ocsp", "-issuer", root, "-cert", certificate.certificatePath, "-reqout", request})
        || !pki.opensslAt(fakeTime, {"ocsp", "-index", pki.indexPath(), "-CA", root, "-rsigner",
                                     responder.certificatePath, "-rkey", responder.keyPath, "-nmin",
                                     QString::number(minutes), "-reqin", request, "-respout", response}))
        return {};
    return readFile(response);
}

QByteArray addRevisionWithBadPrev(const QByteArray& pdf)
{
    const QByteArray updated = fillTextField(pdf, "yeni");
    const QByteArray prev = "/Prev " + QByteArray::number(startXrefs(pdf).constLast());
    const qsizetype at = updated.lastIndexOf(prev);
    if (at < 0)
        return {};
    QByteArray broken = updated;
    broken.replace(at, prev.size(), QByteArray("/Prev " + QByteArray::number(startXrefs(pdf).constLast() - 1)));
    return broken;
}

} // namespace velk::test
