// The Turkish qualified-certificate (NES) profile: certificates made by the
// test PKI with hand-encoded qcStatements, policies, key usages and
// issuers; the sentence each yields, with and without an authorised
// provider table; and the provider-chain check itself.

#include "QcStatementDer.h"

#include "signing/certificates/CertificatePolicy.h"
#include "support/TestPki.h"
#include "worker/contract/OpenSslHandles.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

using velk::CertificatePolicy;
using velk::SignatureReport;
using velk::test::TestCertificate;
using namespace velk::test::qc;

namespace {

const QString kDefault = QString::fromUtf8("Nitelikli değil: Türkiye NES profili doğrulanmadı.");
const QString kQualified =
    QString::fromUtf8("Nitelikli Elektronik Sertifika doğrulandı (BTK yetkili ESHS zinciri ve profil). ");
const QString kDeclared = QString::fromUtf8("Sertifika nitelikli profil beyanı taşıyor (kök doğrulaması yapılmadı). ");
const QString kUndeclared = QString::fromUtf8("Nitelikli değil / NES niteliği doğrulanamadı. ");
const QString kPolicies = QString::fromUtf8("Sertifika politikaları: ");

// n statements with distinct private OIDs after the base three.
QList<QByteArray> padded(int total)
{
    QList<QByteArray> statements = baseStatements();
    for (int i = int(statements.size()); i < total; ++i)
        statements.append(statement(QStringLiteral("1.3.6.1.4.1.99999.1.%1").arg(i)));
    return statements;
}

const QString kNonRepudiation = QStringLiteral("keyUsage=critical,nonRepudiation");

} // namespace

class NesProfileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void profile_data();
    void profile();
    void unparsableSigner();
    void providerChain();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<velk::test::TestPki> m_pki;
    TestCertificate m_provider;
    TestCertificate m_foreignProvider;
};

void NesProfileTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pki = std::make_unique<velk::test::TestPki>(m_dir.path());
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
    m_provider = m_pki->issueAuthority(QStringLiteral("Velk ESHS"), m_pki->root());
    velk::test::CertificateRequest foreign;
    foreign.name = QStringLiteral("foreign-provider");
    foreign.subject = QStringLiteral("/C=DE/O=Velk Test/CN=Foreign Provider");
    foreign.extensions = {QStringLiteral("basicConstraints=critical,CA:TRUE"),
                          QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")};
    m_foreignProvider = m_pki->issue(foreign, m_pki->root());
    QVERIFY2(m_provider.isValid() && m_foreignProvider.isValid(), qPrintable(m_pki->error()));
}

void NesProfileTest::profile_data()
{
    QTest::addColumn<QList<QByteArray>>("statements");
    QTest::addColumn<QString>("policies");
    QTest::addColumn<QStringList>("extraExtensions");
    QTest::addColumn<bool>("foreignIssuer");
    QTest::addColumn<bool>("authorised");
    QTest::addColumn<QString>("expected");
    const QList<QByteArray> base = baseStatements();
    const QString publicSector = kPolicies + kPublicSector + QStringLiteral(" (Kamu SM NES)");
    const QString otherPolicy = QStringLiteral("2.16.792.1.2.1.1.5.7.1.2");
    const QStringList none;

    QTest::newRow("base profile") << base << kPublicSector << none << false << false << kDeclared + publicSector;
    QTest::newRow("authorised provider") << base << kPublicSector << none << false << true << kQualified + publicSector;
    QTest::newRow("other policy, no suffix")
        << base << otherPolicy << none << false << false << kDeclared + kPolicies + otherPolicy;
    QTest::newRow("two policies in order")
        << base << otherPolicy + QLatin1Char(',') + kPublicSector << none << false << false
        << kDeclared + kPolicies + otherPolicy + QStringLiteral(", ") + publicSector.mid(kPolicies.size());
    QTest::newRow("without QcType") << base.mid(0, 2) << kPublicSector << none << false << false
                                    << kDeclared + publicSector;
    QTest::newRow("digital signature and non-repudiation")
        << base << kPublicSector << QStringList{QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation")}
        << false << false << kDeclared + publicSector;
    QTest::newRow("double spaces")
        << baseStatements(QString::fromUtf8("  Bu sertifika,  5070 sayılı Elektronik   İmza Kanununa göre nitelikli "
                                            "elektronik sertifikadır. "))
        << kPublicSector << none << false << false << kDeclared + publicSector;
    QTest::newRow("decomposed İ")
        << baseStatements(QString::fromUtf8(kLawText).replace(QChar(0x0130), QStringLiteral("I\u0307")))
        << kPublicSector << none << false << false << kDeclared + publicSector;
    QTest::newRow("64 statements") << padded(64) << kPublicSector << none << false << false
                                   << kDeclared + publicSector;

    QTest::newRow("extra word")
        << baseStatements(QString::fromUtf8(kLawText).replace(QStringLiteral("nitelikli"),
                                                              QStringLiteral("gerçekten nitelikli")))
        << kPublicSector << none << false << false << kUndeclared + publicSector;
    QTest::newRow("no Turkish statement") << QList<QByteArray>{statement(kCompliance)} << kPublicSector << none
                                          << false << false << kUndeclared + publicSector;
    QTest::newRow("compliance with a parameter")
        << QList<QByteArray>{statement(kCompliance, utf8(QStringLiteral("x"))), base.at(1)} << kPublicSector << none
        << false << false << kUndeclared + publicSector;
    QTest::newRow("e-seal QcType") << QList<QByteArray>{base.at(0), base.at(1), qcType(QStringLiteral("0.4.0.1862.1.6.2"))}
                                   << kPublicSector << none << false << false << kUndeclared + publicSector;
    QTest::newRow("anyPolicy") << base << kPublicSector + QStringLiteral(",2.5.29.32.0") << none << false << false
                               << kUndeclared + kPolicies + kPublicSector + QStringLiteral(", 2.5.29.32.0 (Kamu SM NES)");
    QTest::newRow("excluding policy 7.1.4")
        << base << QStringLiteral("2.16.792.1.2.1.1.5.7.1.4") << none << false << false
        << kUndeclared + kPolicies + QStringLiteral("2.16.792.1.2.1.1.5.7.1.4");
    QTest::newRow("no policy") << base << QString() << none << false << false << kUndeclared + kPolicies;
    QTest::newRow("digital signature only")
        << base << kPublicSector << QStringList{QStringLiteral("keyUsage=critical,digitalSignature")} << false << false
        << kUndeclared + publicSector;
    QTest::newRow("non-repudiation and encipherment")
        << base << kPublicSector << QStringList{QStringLiteral("keyUsage=critical,nonRepudiation,keyEncipherment")}
        << false << false << kUndeclared + publicSector;
    QTest::newRow("server authentication only")
        << base << kPublicSector << QStringList{kNonRepudiation, QStringLiteral("extendedKeyUsage=serverAuth")} << false
        << false << kUndeclared + publicSector;
    QTest::newRow("issuer in Germany") << base << kPublicSector << none << true << true << kUndeclared + publicSector;
    QTest::newRow("repeated statement") << base + QList<QByteArray>{statement(kCompliance)} << kPublicSector << none
                                        << false << true << kDefault;
    QTest::newRow("65 statements") << padded(65) << kPublicSector << none << false << true << kDefault;
    QTest::newRow("no statements") << QList<QByteArray>{} << kPublicSector << none << false << true << kDefault;
    QTest::newRow("statement without OID") << QList<QByteArray>{tlv(0x30, utf8(QStringLiteral("x")))} + base
                                           << kPublicSector << none << false << true << kDefault;
}

void NesProfileTest::profile()
{
    QFETCH(QList<QByteArray>, statements);
    QFETCH(QString, policies);
    QFETCH(QStringList, extraExtensions);
    QFETCH(bool, foreignIssuer);
    QFETCH(bool, authorised);
    QFETCH(QString, expected);

    velk::test::CertificateRequest request;
    static int row = 0;
    request.name = QStringLiteral("nes-%1").arg(++row);
    request.keyAlgorithm = QStringLiteral("ec:prime256v1");
    request.extensions = extraExtensions;
    if (!extraExtensions.join(QString()).contains(QLatin1String("keyUsage=")))
        request.extensions.prepend(kNonRepudiation);
    if (!statements.isEmpty() || QByteArray(QTest::currentDataTag()) == "no statements")
        request.extensions.append(extensionLine(statements));
    if (!policies.isEmpty())
        request.extensions.append(QStringLiteral("certificatePolicies=") + policies);
    const TestCertificate& issuer = foreignIssuer ? m_foreignProvider : m_provider;
    const TestCertificate signer = m_pki->issue(request, issuer);
    QVERIFY2(signer.isValid(), qPrintable(m_pki->error()));

    SignatureReport report;
    report.signerCertificate = signer.der;
    report.chainTrusted = true;
    report.chain = {signer.der, issuer.der, m_pki->root().der};
    const QList<QByteArray> table = {QCryptographicHash::hash(issuer.der, QCryptographicHash::Sha256)};
    CertificatePolicy::checkNesProfile(report, authorised ? table : QList<QByteArray>{});
    QCOMPARE(report.nesText, expected);
    QCOMPARE(report.nesQualified, expected.startsWith(kQualified));

    // The shipped table is empty: the best outcome is the declared profile.
    CertificatePolicy::checkNesProfile(report);
    QVERIFY(!report.nesQualified);
    QVERIFY(!report.nesText.startsWith(kQualified));
    // An authorised table does not help an untrusted chain.
    report.chainTrusted = false;
    CertificatePolicy::checkNesProfile(report, table);
    QVERIFY(!report.nesQualified);
}

void NesProfileTest::unparsableSigner()
{
    SignatureReport report;
    report.nesQualified = true;
    report.signerCertificate = m_provider.der + '\0';
    CertificatePolicy::checkNesProfile(report);
    QVERIFY(!report.nesQualified);
    QCOMPARE(report.nesText, kDefault);
}

void NesProfileTest::providerChain()
{
    const QByteArray fingerprint = QCryptographicHash::hash(m_provider.der, QCryptographicHash::Sha256);
    const QByteArray rootPrint = QCryptographicHash::hash(m_pki->root().der, QCryptographicHash::Sha256);
    const TestCertificate leaf = m_pki->issueSigner(QStringLiteral("chain-leaf"), m_provider);
    QVERIFY(leaf.isValid());
    const QList<QByteArray> chain = {leaf.der, m_provider.der, m_pki->root().der};
    QVERIFY(CertificatePolicy::isAuthorisedProviderChain(chain, {fingerprint}));
    QVERIFY(CertificatePolicy::isAuthorisedProviderChain(chain, {rootPrint}));
    QVERIFY(!CertificatePolicy::isAuthorisedProviderChain(chain));
    QVERIFY(!CertificatePolicy::isAuthorisedProviderChain(chain, {}));
    // The signer itself never counts, nor an end entity, nor bytes that do not parse completely.
    const QByteArray leafPrint = QCryptographicHash::hash(leaf.der, QCryptographicHash::Sha256);
    QVERIFY(!CertificatePolicy::isAuthorisedProviderChain({leaf.der}, {leafPrint}));
    QVERIFY(!CertificatePolicy::isAuthorisedProviderChain({m_provider.der, leaf.der}, {leafPrint}));
    const QByteArray trailing = m_provider.der + '\0';
    QVERIFY(!CertificatePolicy::isAuthorisedProviderChain(
        {leaf.der, trailing}, {QCryptographicHash::hash(trailing, QCryptographicHash::Sha256)}));
}

QTEST_GUILESS_MAIN(NesProfileTest)
#include "NesProfileTest.moc"
