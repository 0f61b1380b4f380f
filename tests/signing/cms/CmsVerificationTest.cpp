// What a detached CMS proves: structure and the zero fill of Contents, the
// digest policy, integrity of foreign signatures (openssl cms with SHA-1,
// PSS, ECDSA-SHA512, without attributes, CAdES), the signing-certificate
// binding, the chain to a test root, the declared signing time and an
// embedded signature time stamp.

#include "CmsFixtures.h"

#include "signing/certificates/QcStatementDer.h"
#include "signing/cms/CmsVerification.h"
#include "support/PdfFixtures.h"
#include "support/SignatureFill.h"
#include "support/SignedPdfFixtures.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

using velk::CmsVerification;
using velk::SignatureReport;
using velk::test::EssBinding;
using velk::test::TestCertificate;

namespace {

const QString kUnsupported = QString::fromUtf8("CMS imza yapısı desteklenmiyor veya bozuk.");
const QString kDigestPolicy = QString::fromUtf8(
    "GEÇERSİZ: CMS imzacı özet algoritması güvenlik politikasına aykırı; yalnız SHA-256/384/512 kabul edilir.");
const QString kNotVerified =
    QString::fromUtf8("Kriptografik imza doğrulanamadı; belge veya imza değiştirilmiş olabilir.");
const QString kBindingFailed = QString::fromUtf8("CAdES imzasının imzacı sertifika bağı doğrulanamadı.");
const QString kTrusted = QString::fromUtf8("Belge bütünlüğü ve sertifika zinciri doğrulandı.");
const QString kUntrusted = QString::fromUtf8("Belge bütünlüğü doğru; güven zinciri BELİRSİZ.");
const QString kNotForSigning =
    QString::fromUtf8("UYARI: Zincir güvenilir ama sertifika belge imzalama amaçlı değil. Sonuç: BELİRSİZ.");

const QByteArray kData = QByteArrayLiteral("%PDF-1.7 signed bytes of a test document\n");

struct SignedParts {
    QByteArray contents;    // decoded Contents, with its zero fill
    QByteArray signedBytes; // the two ranges
};

// The last signature of a PDF as a verifier takes it: ByteRange, then the
// Contents hex between the ranges.
SignedParts lastSignature(const QByteArray& pdf)
{
    const qsizetype at = pdf.lastIndexOf("/ByteRange");
    const qsizetype open = pdf.indexOf('[', at);
    const QList<QByteArray> numbers = pdf.mid(open + 1, pdf.indexOf(']', open) - open - 1).simplified().split(' ');
    if (at < 0 || numbers.size() != 4)
        return {};
    const qint64 a = numbers[1].toLongLong(), b = numbers[2].toLongLong(), c = numbers[3].toLongLong();
    return {QByteArray::fromHex(pdf.mid(a + 1, b - a - 2)), pdf.left(a) + pdf.mid(b, c)};
}

} // namespace

class CmsVerificationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void verify_data();
    void verify();
    void changedBytesFail();
    void chainAndSigner();
    void untrustedWithoutIntermediate();
    void declaredSigningTime();
    void embeddedTimestamp();
    void brokenTimestampKeepsIntegrity();
    void qualifiedProfileDeclared();
    void popplerSignatures_data();
    void popplerSignatures();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<velk::test::TestPki> m_pki;
    TestCertificate m_intermediate;
    TestCertificate m_signer;
    TestCertificate m_ecSigner;
    TestCertificate m_serverOnly;
    TestCertificate m_other;
    TestCertificate m_tsa;
    QHash<QString, QByteArray> m_cms;
    std::unique_ptr<velk::test::NssSigner> m_nss;
};

void CmsVerificationTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pki = std::make_unique<velk::test::TestPki>(m_dir.path());
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
    velk::test::TestPki& pki = *m_pki;
    m_intermediate = pki.issueAuthority(QStringLiteral("Velk Test Intermediate"), pki.root());
    m_signer = pki.issueSigner(QStringLiteral("Ayşe Yılmaz"), m_intermediate);
    velk::test::CertificateRequest ec;
    ec.name = QStringLiteral("ec-signer");
    ec.keyAlgorithm = QStringLiteral("ec:secp384r1");
    ec.extensions = {QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation")};
    m_ecSigner = pki.issue(ec, m_intermediate);
    m_serverOnly = pki.issueSigner(QStringLiteral("server-only"), m_intermediate,
                                   {QStringLiteral("extendedKeyUsage=serverAuth")});
    m_other = pki.issueSigner(QStringLiteral("second-signer"), m_intermediate);
    m_tsa = pki.issueTimeStampAuthority(QStringLiteral("Velk Test TSA"), pki.root());
    for (const TestCertificate* c : {&m_intermediate, &m_signer, &m_ecSigner, &m_serverOnly, &m_other, &m_tsa})
        QVERIFY2(c->isValid(), qPrintable(pki.error()));

    const QStringList chain = {QStringLiteral("-certfile"), m_intermediate.certificatePath};
    using velk::test::opensslCms;
    m_cms["sha256"] = opensslCms(pki, m_signer, kData, QStringList{"-md", "sha256"} + chain);
    m_cms["sha1"] = opensslCms(pki, m_signer, kData, QStringList{"-md", "sha1"} + chain);
    m_cms["pss"] = opensslCms(pki, m_signer, kData,
                              QStringList{"-md", "sha256", "-keyopt", "rsa_padding_mode:pss"} + chain);
    m_cms["ecdsa-sha512"] = opensslCms(pki, m_ecSigner, kData, QStringList{"-md", "sha512"} + chain);
    m_cms["noattr"] = opensslCms(pki, m_signer, kData, QStringList{"-md", "sha384", "-noattr"} + chain);
    m_cms["cades"] = opensslCms(pki, m_signer, kData, QStringList{"-md", "sha256", "-cades"} + chain);
    m_cms["attached"] = opensslCms(pki, m_signer, kData, QStringList{"-md", "sha256", "-nodetach"} + chain);
    m_cms["server-only"] = opensslCms(pki, m_serverOnly, kData, QStringList{"-md", "sha256"} + chain);
    m_cms["two-signers"] = velk::test::addSecondSigner(pki, m_cms["sha256"], m_other);
    m_cms["v1-only"] = velk::test::cmsWithBinding(m_signer, m_intermediate, kData, EssBinding::VersionOne);
    m_cms["v2-signer-then-ca"] = velk::test::cmsWithBinding(m_signer, m_intermediate, kData, EssBinding::SignerThenCa);
    m_cms["v2-ca-first"] = velk::test::cmsWithBinding(m_signer, m_intermediate, kData, EssBinding::CaFirst);
    for (auto it = m_cms.cbegin(); it != m_cms.cend(); ++it)
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
}

void CmsVerificationTest::verify_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("cades");
    QTest::addColumn<bool>("integrity");
    QTest::addColumn<QString>("verdict");
    const QByteArray none;
    QTest::newRow("adbe SHA-256") << "sha256" << none << false << true << kTrusted;
    QTest::newRow("zero fill after the structure")
        << "sha256" << QByteArray(4000, '\0') << false << true << kTrusted;
    QTest::newRow("one non-zero byte in the fill")
        << "sha256" << (QByteArray(100, '\0') + '\x01' + QByteArray(10, '\0')) << false << false << kUnsupported;
    QTest::newRow("two SignerInfos") << "two-signers" << none << false << false << kUnsupported;
    QTest::newRow("attached content") << "attached" << none << false << false << kUnsupported;
    QTest::newRow("SHA-1 refused first") << "sha1" << none << false << false << kDigestPolicy;
    QTest::newRow("RSA-PSS") << "pss" << none << false << true << kTrusted;
    QTest::newRow("ECDSA with SHA-512") << "ecdsa-sha512" << none << false << true << kTrusted;
    QTest::newRow("no signed attributes") << "noattr" << none << false << true << kTrusted;
    QTest::newRow("no signed attributes as CAdES") << "noattr" << none << true << false << kBindingFailed;
    QTest::newRow("CAdES with v2") << "cades" << none << true << true << kTrusted;
    QTest::newRow("adbe without v2") << "sha256" << none << false << true << kTrusted;
    QTest::newRow("CAdES without v2") << "sha256" << none << true << false << kBindingFailed;
    QTest::newRow("CAdES with v1 only") << "v1-only" << none << true << false << kBindingFailed;
    QTest::newRow("v2 naming signer then CA") << "v2-signer-then-ca" << none << true << true << kTrusted;
    QTest::newRow("v2 whose first entry is the CA") << "v2-ca-first" << none << true << false << kBindingFailed;
    QTest::newRow("serverAuth only") << "server-only" << none << false << true << kNotForSigning;
    QTest::newRow("empty") << "missing" << none << false << false << kUnsupported;
    QTest::newRow("truncated") << "truncated" << none << false << false << kUnsupported;
}

void CmsVerificationTest::verify()
{
    QFETCH(QString, fixture);
    QFETCH(QByteArray, tail);
    QFETCH(bool, cades);
    QFETCH(bool, integrity);
    QFETCH(QString, verdict);
    QByteArray cms = fixture == QLatin1String("truncated") ? m_cms.value("cades").chopped(40) : m_cms.value(fixture);
    cms += tail;
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(cms, kData, m_pki->root().certificatePath, cades);
    QCOMPARE(report.verdict, verdict);
    QCOMPARE(report.integrityValid, integrity);
    if (integrity)
        QVERIFY(report.chainTrusted);
}

void CmsVerificationTest::changedBytesFail()
{
    QByteArray changed = kData;
    changed[3] = 'X';
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(m_cms.value("cades"), changed, m_pki->root().certificatePath, true);
    QVERIFY(!report.integrityValid);
    QCOMPARE(report.verdict, kNotVerified);
    QVERIFY(report.signerName.isEmpty());
}

void CmsVerificationTest::chainAndSigner()
{
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(m_cms.value("cades"), kData, m_pki->root().certificatePath, true);
    QVERIFY(report.integrityValid);
    QCOMPARE(report.signerName, QString::fromUtf8("Ayşe Yılmaz"));
    QCOMPARE(report.signerCertificate, m_signer.der);
    QVERIFY(report.purposeValid);
    QVERIFY(report.chainTrusted);
    QCOMPARE(report.chain, (QList<QByteArray>{m_signer.der, m_intermediate.der, m_pki->root().der}));
    QVERIFY(report.certificates.contains(m_signer.der));
    QVERIFY(report.certificates.contains(m_intermediate.der));
    QVERIFY(!report.hasTimestamp);
    QVERIFY(!report.nesQualified);
    QCOMPARE(report.nesText, QString::fromUtf8("Nitelikli değil: Türkiye NES profili doğrulanmadı."));
}

void CmsVerificationTest::untrustedWithoutIntermediate()
{
    const QByteArray cms = velk::test::opensslCms(*m_pki, m_signer, kData, {"-md", "sha256", "-cades"});
    QVERIFY(!cms.isEmpty());
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(cms, kData, m_pki->root().certificatePath, true);
    QVERIFY(report.integrityValid);
    QVERIFY(!report.chainTrusted);
    QVERIFY(report.chain.isEmpty());
    QCOMPARE(report.verdict, kUntrusted);
    // A trust file that does not load leaves the chain undetermined as well.
    const SignatureReport missing =
        CmsVerification::verifyCmsSignature(m_cms.value("cades"), kData, m_dir.filePath("none.pem"), true);
    QVERIFY(missing.integrityValid);
    QVERIFY(!missing.chainTrusted);
    QCOMPARE(missing.verdict, kUntrusted);
}

void CmsVerificationTest::declaredSigningTime()
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-5);
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(m_cms.value("sha256"), kData, m_pki->root().certificatePath, false);
    const QDateTime declared = QDateTime::fromString(report.declaredSigningTime, Qt::ISODate);
    QVERIFY2(declared.isValid(), qPrintable(report.declaredSigningTime));
    QVERIFY(report.declaredSigningTime.endsWith(QLatin1Char('Z')));
    QVERIFY(declared >= before.addSecs(-120) && declared <= QDateTime::currentDateTimeUtc().addSecs(5));
    // Without signed attributes nothing is declared.
    const SignatureReport bare =
        CmsVerification::verifyCmsSignature(m_cms.value("noattr"), kData, m_pki->root().certificatePath, false);
    QVERIFY(bare.declaredSigningTime.isEmpty());
}

void CmsVerificationTest::embeddedTimestamp()
{
    const QByteArray cms = m_cms.value("cades");
    const QByteArray token = velk::test::timeStampToken(*m_pki, m_tsa, velk::test::cmsSignatureValue(cms));
    QVERIFY(!token.isEmpty());
    const QByteArray stamped = velk::test::withTimestampAttribute(cms, token);
    QVERIFY(!stamped.isEmpty());
    const SignatureReport report = CmsVerification::verifyCmsSignature(
        stamped + QByteArray(64, '\0'), kData, m_pki->root().certificatePath, true);
    QVERIFY(report.integrityValid);
    QVERIFY(report.hasTimestamp);
    QVERIFY(report.timestampValid);
    QCOMPARE(report.timestampToken, token);
    QVERIFY(QDateTime::fromString(report.timestampTime, Qt::ISODate).isValid());
    // The signer stays the CMS's signer, not the time-stamp authority.
    QCOMPARE(report.signerCertificate, m_signer.der);
    QCOMPARE(report.signerName, QString::fromUtf8("Ayşe Yılmaz"));
    QCOMPARE(report.verdict, kTrusted);
}

void CmsVerificationTest::brokenTimestampKeepsIntegrity()
{
    // A token over other bytes: present, not valid, and the signature itself still verifies.
    const QByteArray cms = m_cms.value("cades");
    const QByteArray token = velk::test::timeStampToken(*m_pki, m_tsa, QByteArrayLiteral("other bytes"));
    QVERIFY(!token.isEmpty());
    const SignatureReport report = CmsVerification::verifyCmsSignature(
        velk::test::withTimestampAttribute(cms, token), kData, m_pki->root().certificatePath, true);
    QVERIFY(report.integrityValid);
    QVERIFY(report.hasTimestamp);
    QVERIFY(!report.timestampValid);
    QVERIFY(report.timestampTime.isEmpty());
}

// A signer with the qualified profile under a trusted chain: declared, not
// qualified, since no provider is authorised as shipped.
void CmsVerificationTest::qualifiedProfileDeclared()
{
    using namespace velk::test::qc;
    velk::test::CertificateRequest request;
    request.name = QStringLiteral("nes-signer");
    request.keyAlgorithm = QStringLiteral("ec:prime256v1");
    request.extensions = {QStringLiteral("keyUsage=critical,nonRepudiation"), extensionLine(baseStatements()),
                          QStringLiteral("certificatePolicies=") + kPublicSector};
    const TestCertificate signer = m_pki->issue(request, m_intermediate);
    QVERIFY2(signer.isValid(), qPrintable(m_pki->error()));
    const QByteArray cms = velk::test::opensslCms(
        *m_pki, signer, kData, {"-md", "sha256", "-cades", "-certfile", m_intermediate.certificatePath});
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(cms, kData, m_pki->root().certificatePath, true);
    QVERIFY(report.integrityValid && report.chainTrusted);
    QVERIFY(!report.nesQualified);
    QCOMPARE(report.nesText,
             QString::fromUtf8("Sertifika nitelikli profil beyanı taşıyor (kök doğrulaması yapılmadı). "
                               "Sertifika politikaları: 2.16.792.1.2.1.1.5.7.1.1 (Kamu SM NES)"));
    QCOMPARE(report.verdict, kTrusted);
}

void CmsVerificationTest::popplerSignatures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("cades");
    QTest::addColumn<bool>("integrity");
    QTest::newRow("adbe, BER") << QStringList{} << false << true;
    // pdfsig cannot add an ETSI signature, but its adbe CMS carries a
    // signingCertificateV2 that binds the signer.
    QTest::newRow("the same CMS as CAdES") << QStringList{} << true << true;
}

// pdfsig -add-signature with an RSA key from an NSS database.
void CmsVerificationTest::popplerSignatures()
{
    QFETCH(QStringList, options);
    QFETCH(bool, cades);
    QFETCH(bool, integrity);
    if (!m_nss) {
        const TestCertificate signer = m_pki->issueSigner(QStringLiteral("Poppler İmzacı"), m_pki->root());
        QVERIFY(signer.isValid());
        m_nss = std::make_unique<velk::test::NssSigner>(*m_pki, signer, m_dir.filePath(QStringLiteral("nss")));
    }
    const velk::test::NssSigner& nss = *m_nss;
    QVERIFY(nss.isValid());
    const QString input = m_dir.filePath(QStringLiteral("poppler-in.pdf"));
    const QString output = m_dir.filePath(QStringLiteral("poppler-out.pdf"));
    QFile::remove(output);
    const QByteArray document = velk::test::pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>",
                                                            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                                            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>"});
    QVERIFY(velk::test::writeFile(input, document));
    QVERIFY(nss.addSignature(input, output, options));
    const SignedParts parts = lastSignature(velk::test::readFile(output));
    QVERIFY(!parts.contents.isEmpty());
    QVERIFY(parts.contents.endsWith('\0')); // the zero fill stays with the CMS
    const SignatureReport report =
        CmsVerification::verifyCmsSignature(parts.contents, parts.signedBytes, m_pki->root().certificatePath, cades);
    QCOMPARE(report.integrityValid, integrity);
    if (integrity) {
        QVERIFY(report.chainTrusted);
        QCOMPARE(report.verdict, kTrusted);
        QCOMPARE(report.signerName, QString::fromUtf8("Poppler İmzacı"));
    } else {
        QCOMPARE(report.verdict, kBindingFailed);
    }
}

QTEST_GUILESS_MAIN(CmsVerificationTest)
#include "CmsVerificationTest.moc"
