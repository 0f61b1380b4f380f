// Which certificates are fit for signing documents: key usage, extended key
// usages of the signing table, CA certificates.

#include "signing/certificates/CertificatePolicy.h"
#include "support/TestPki.h"
#include "worker/contract/OpenSslHandles.h"

#include <QTemporaryDir>
#include <QtTest>

using velk::CertificatePolicy;

class CertificatePolicyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void checkSigningPurpose_data();
    void checkSigningPurpose();
    void missingCertificate();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<velk::test::TestPki> m_pki;
};

void CertificatePolicyTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pki = std::make_unique<velk::test::TestPki>(m_dir.path());
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
}

void CertificatePolicyTest::checkSigningPurpose_data()
{
    QTest::addColumn<QStringList>("extensions");
    QTest::addColumn<bool>("fit");
    const QString signing = QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation");
    QTest::newRow("key usage, no EKU") << QStringList{signing} << true;
    QTest::newRow("non-repudiation only") << QStringList{QStringLiteral("keyUsage=nonRepudiation")} << true;
    QTest::newRow("digital signature only") << QStringList{QStringLiteral("keyUsage=digitalSignature")} << true;
    QTest::newRow("e-mail protection") << QStringList{signing, QStringLiteral("extendedKeyUsage=emailProtection")} << true;
    QTest::newRow("document signing") << QStringList{signing, QStringLiteral("extendedKeyUsage=1.3.6.1.5.5.7.3.36")} << true;
    QTest::newRow("Microsoft document signing")
        << QStringList{signing, QStringLiteral("extendedKeyUsage=1.3.6.1.4.1.311.10.3.12")} << true;
    QTest::newRow("Adobe authentic documents")
        << QStringList{signing, QStringLiteral("extendedKeyUsage=1.2.840.113583.1.1.5")} << true;
    QTest::newRow("any usage") << QStringList{signing, QStringLiteral("extendedKeyUsage=anyExtendedKeyUsage")} << true;
    QTest::newRow("server only") << QStringList{signing, QStringLiteral("extendedKeyUsage=serverAuth")} << false;
    QTest::newRow("server and e-mail")
        << QStringList{signing, QStringLiteral("extendedKeyUsage=serverAuth,emailProtection")} << true;
    QTest::newRow("time stamping only")
        << QStringList{signing, QStringLiteral("extendedKeyUsage=critical,timeStamping")} << false;
    QTest::newRow("no key usage") << QStringList{QStringLiteral("extendedKeyUsage=emailProtection")} << false;
    QTest::newRow("encipherment only") << QStringList{QStringLiteral("keyUsage=keyEncipherment")} << false;
    QTest::newRow("CA") << QStringList{QStringLiteral("basicConstraints=critical,CA:TRUE"),
                                       QStringLiteral("keyUsage=critical,digitalSignature,keyCertSign")}
                        << false;
}

void CertificatePolicyTest::checkSigningPurpose()
{
    QFETCH(QStringList, extensions);
    QFETCH(bool, fit);
    velk::test::CertificateRequest request;
    static int row = 0;
    request.name = QStringLiteral("purpose-%1").arg(++row);
    request.extensions = extensions;
    request.keyAlgorithm = QStringLiteral("ec:prime256v1"); // the key type does not matter here; EC is quick
    const velk::test::TestCertificate certificate = m_pki->issue(request, m_pki->root());
    QVERIFY2(certificate.isValid(), qPrintable(m_pki->error()));
    const auto* cursor = reinterpret_cast<const unsigned char*>(certificate.der.constData());
    velk::X509Ptr parsed(d2i_X509(nullptr, &cursor, long(certificate.der.size())));
    QVERIFY(parsed);
    QCOMPARE(CertificatePolicy::checkSigningPurpose(parsed.get()), fit);
}

void CertificatePolicyTest::missingCertificate()
{
    QVERIFY(!CertificatePolicy::checkSigningPurpose(nullptr));
}

QTEST_GUILESS_MAIN(CertificatePolicyTest)
#include "CertificatePolicyTest.moc"
