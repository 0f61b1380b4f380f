// Our signature made by a real token: SoftHSM behind the real
// velk-token-worker, RSA and ECDSA keys. The signed-attribute digest is all
// the worker sees; openssl cms and pdfsig (on a PDF whose placeholder holds
// the signature) judge the result, and our own verification reads it.

#include "CmsFixtures.h"

#include "signing/TokenWorker/TokenTestBed.h"
#include "signing/cms/CmsSignature.h"
#include "signing/cms/CmsVerification.h"
#include "signing/token/TokenSignFunction.h"
#include "support/TestPaths.h"
#include "workers/pdf/signatures/SignatureFixtureDocuments.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

using velk::CmsSignature;
using velk::SigningIdentity;
using velk::TokenSigner;
using velk::test::SoftHsmToken;
using velk::test::TestCertificate;
using velk::test::TokenTestBed;

namespace {

const char* const kLabel = "velk-cms";
constexpr char kRangePlaceholder[] = "/ByteRange [0 0000000000 0000000000 0000000000] /Contents <";

// A one-page document with an unsigned CAdES signature value.
QByteArray unsignedPdf()
{
    return velk::test::pdfFromObjects(velk::test::formBodies(
        "/AcroForm << /Fields [6 0 R] /SigFlags 3 >>", "6 0 R",
        {velk::test::signatureWidget("sig", "7 0 R"), velk::test::signatureValue({}, "/ETSI.CAdES.detached")}));
}

// Fixes the byte range, signs the covered bytes' digest with `sign` and
// writes the CMS hex into the Contents; empty on failure.
QByteArray signPdf(const QByteArray& pdf, const std::function<QByteArray(const QByteArray&)>& sign)
{
    const qsizetype range = pdf.lastIndexOf(kRangePlaceholder);
    if (range < 0)
        return {};
    const qsizetype start = range + qsizetype(sizeof(kRangePlaceholder)) - 2;
    const qsizetype end = pdf.indexOf('>', start) + 1;
    auto digits = [](qint64 value) { return QByteArray::number(value).rightJustified(10, '0'); };
    QByteArray signedPdf = pdf;
    const QByteArray ranges = QByteArray("/ByteRange [0 ") + digits(start) + ' ' + digits(end) + ' '
                              + digits(pdf.size() - end) + ']';
    signedPdf.replace(range, ranges.size(), ranges);
    const QByteArray cms = sign(QByteArray(signedPdf.left(start) + signedPdf.mid(end)));
    const QByteArray hex = cms.toHex();
    if (cms.isEmpty() || hex.size() > end - start - 2)
        return {};
    signedPdf.replace(start + 1, hex.size(), hex);
    return signedPdf;
}

} // namespace

class CmsTokenSigningTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void signOnToken_data();
    void signOnToken();

private:
    std::unique_ptr<TokenTestBed> m_bed;
    QHash<QString, TestCertificate> m_certificates;
    QString m_slot;
};

void CmsTokenSigningTest::initTestCase()
{
    m_bed = std::make_unique<TokenTestBed>();
    QVERIFY(m_bed->isValid());
    QVERIFY2(m_bed->token().initToken(QString::fromLatin1(kLabel)), qPrintable(m_bed->token().error()));
    const QList<QPair<QString, QString>> pairs = {{"01", "rsa:2048"}, {"02", "ec:prime256v1"}};
    for (const auto& [id, algorithm] : pairs) {
        velk::test::CertificateRequest request;
        request.name = QStringLiteral("Token İmzacı ") + id;
        request.keyAlgorithm = algorithm;
        request.extensions = {QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation")};
        const TestCertificate certificate = m_bed->pki().issue(request, m_bed->pki().root());
        QVERIFY2(certificate.isValid(), qPrintable(m_bed->pki().error()));
        QVERIFY(m_bed->token().importKey(QString::fromLatin1(kLabel), certificate.keyPath, id));
        QVERIFY(m_bed->token().importCertificate(QString::fromLatin1(kLabel), certificate.der, id));
        m_certificates.insert(id, certificate);
    }
    m_slot = TokenTestBed::slotOf(TokenTestBed::list(), QStringLiteral("01"));
    QVERIFY(!m_slot.isEmpty());
}

void CmsTokenSigningTest::signOnToken_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("RSA 2048") << "01";
    QTest::newRow("ECDSA P-256") << "02";
}

void CmsTokenSigningTest::signOnToken()
{
    QFETCH(QString, id);
    const TestCertificate certificate = m_certificates.value(id);
    const SigningIdentity identity{SoftHsmToken::softHsmModule(),
                                   SoftHsmToken::sha256Hex(SoftHsmToken::softHsmModule()), m_slot,
                                   QByteArray::fromHex(id.toLatin1()), certificate.der};
    const velk::TokenSignFunction device = TokenSigner::make(
        identity, {}, velk::makeSecretBytes(QByteArray(SoftHsmToken::kPin)), velk::test::applicationDirectory());
    QString error;
    QByteArray signedBytes;
    const QByteArray pdf = signPdf(unsignedPdf(), [&](const QByteArray& covered) {
        signedBytes = covered;
        return CmsSignature::buildCmsSignature(QCryptographicHash::hash(covered, QCryptographicHash::Sha256),
                                               certificate.der, device, error);
    });
    QVERIFY2(!pdf.isEmpty(), qPrintable(error));

    velk::test::TestPki& pki = m_bed->pki();
    const QString pdfPath = m_bed->directory() + QStringLiteral("/token-signed-") + id + QStringLiteral(".pdf");
    const QString contentPath = m_bed->directory() + QStringLiteral("/token-covered.bin");
    const QString cmsPath = m_bed->directory() + QStringLiteral("/token.p7s");
    const qsizetype start = pdf.indexOf("/Contents <") + 10;
    const QByteArray cms = QByteArray::fromHex(pdf.mid(start + 1, pdf.indexOf('>', start) - start - 1));
    QVERIFY(velk::test::writeFile(pdfPath, pdf) && velk::test::writeFile(contentPath, signedBytes)
            && velk::test::writeFile(cmsPath, cms));
    QVERIFY2(pki.openssl({"cms", "-verify", "-binary", "-inform", "DER", "-in", cmsPath, "-content", contentPath,
                          "-CAfile", pki.root().certificatePath, "-out", "/dev/null"}),
             qPrintable(pki.error()));
    const velk::test::NssSigner nss(pki, certificate, m_bed->directory() + QStringLiteral("/nss-") + id);
    QVERIFY(nss.isValid());
    QCOMPARE(nss.validations(pdfPath), QStringList{QStringLiteral("Signature is Valid.")});

    const velk::SignatureReport report =
        velk::CmsVerification::verifyCmsSignature(cms, signedBytes, pki.root().certificatePath, true);
    QVERIFY(report.integrityValid);
    QVERIFY(report.chainTrusted);
    QCOMPARE(report.signerName, QStringLiteral("Token İmzacı ") + id);
}

QTEST_GUILESS_MAIN(CmsTokenSigningTest)
#include "CmsTokenSigningTest.moc"
