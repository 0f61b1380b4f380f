// The test PKI itself: what it issues is accepted by `openssl verify` with
// the purposes the shapes promise, and explicit dates land as asked.

#include "TestPki.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velk::test;

class TestPkiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chainsVerify()
    {
        QTemporaryDir directory;
        TestPki pki(directory.path());
        QVERIFY2(pki.isValid(), qPrintable(pki.error()));
        const TestCertificate intermediate = pki.issueAuthority(QStringLiteral("intermediate"), pki.root());
        QVERIFY2(intermediate.isValid(), qPrintable(pki.error()));
        const TestCertificate signer = pki.issueSigner(QStringLiteral("signer"), intermediate);
        const TestCertificate tsa = pki.issueTimeStampAuthority(QStringLiteral("tsa"), pki.root());
        const TestCertificate ocsp = pki.issueOcspResponder(QStringLiteral("ocsp"), intermediate);
        QVERIFY2(signer.isValid() && tsa.isValid() && ocsp.isValid(), qPrintable(pki.error()));

        QVERIFY2(pki.openssl({QStringLiteral("verify"), QStringLiteral("-CAfile"), pki.root().certificatePath,
                              QStringLiteral("-untrusted"), intermediate.certificatePath, signer.certificatePath}),
                 qPrintable(pki.error()));
        QVERIFY2(pki.openssl({QStringLiteral("verify"), QStringLiteral("-purpose"), QStringLiteral("timestampsign"),
                              QStringLiteral("-CAfile"), pki.root().certificatePath, tsa.certificatePath}),
                 qPrintable(pki.error()));
        QVERIFY(!pki.exportPkcs12(signer, {intermediate, pki.root()}, QString(), QStringLiteral("signer")).isEmpty());
    }

    void explicitDatesAndKeys()
    {
        QTemporaryDir directory;
        TestPki pki(directory.path());
        CertificateRequest request;
        request.name = QStringLiteral("expired");
        request.keyAlgorithm = QStringLiteral("ec:prime256v1");
        request.notBefore = QStringLiteral("20200101000000Z");
        request.notAfter = QStringLiteral("20210101000000Z");
        const TestCertificate expired = pki.issue(request, pki.root());
        QVERIFY2(expired.isValid(), qPrintable(pki.error()));
        QByteArray dates;
        QVERIFY(pki.openssl({QStringLiteral("x509"), QStringLiteral("-in"), expired.certificatePath,
                             QStringLiteral("-noout"), QStringLiteral("-enddate")},
                            &dates));
        QVERIFY2(dates.contains("Jan  1 00:00:00 2021 GMT"), dates.constData());
        QVERIFY(!pki.openssl({QStringLiteral("verify"), QStringLiteral("-CAfile"), pki.root().certificatePath,
                              expired.certificatePath}));
    }
};

QTEST_GUILESS_MAIN(TestPkiTest)
#include "TestPkiTest.moc"
