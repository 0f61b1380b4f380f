// Revocation checks against the loopback PKI: OCSP through `openssl ocsp`
// per request and CRLs made by `openssl ca -gencrl`, with chains completed
// from the authority information access, responder checks, the run budget,
// and checks at a reference time with evidence issued before and after it.

#include "signing/certificates/CertificateDer.h"
#include "signing/revocation/CrlEvidence.h"
#include "signing/revocation/OcspEvidence.h"
#include "signing/revocation/RevocationChecker.h"
#include "signing/timestamps/TrustStore.h"
#include "support/EvidencePki.h"
#include "support/EvidenceServer.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using velk::CrlEvidence;
using velk::EvidenceFetchContext;
using velk::OcspEvidence;
using velk::RevocationChecker;
using velk::SignatureReport;
using velk::test::EvidencePki;
using velk::test::EvidenceServer;
using velk::test::TestCertificate;

namespace {

const QString kBudget = QString::fromUtf8("Ağ işlemi iptal edildi veya toplam süre/istek sınırı aşıldı.");
const QString kNetworkOff = QString::fromUtf8("Ağ izni kapalı; iptal durumu BELİRSİZ.");
const QString kLoop = QString::fromUtf8("Kanıt zinciri döngüsü/sınırı; BELİRSİZ.");
const QString kNoChain = QString::fromUtf8("Güvenilir sertifika zinciri bulunamadı; BELİRSİZ.");
const QString kNeedsIssuer =
    QString::fromUtf8("İptal denetimi için ayrı güvenilir sertifika yayıncısı gerekli; BELİRSİZ.");
const QString kOcspNote = QString::fromUtf8("OCSP (nonce doğrulandı)");
const QString kRevoked = QString::fromUtf8("Sertifika zincirinde iptal kaydı: ");

EvidenceFetchContext loopbackContext(bool networkAllowed = true)
{
    EvidenceFetchContext context;
    context.networkAllowed = networkAllowed;
    context.privateHostAllowList = {QStringLiteral("127.0.0.1")};
    return context;
}

SignatureReport reportFor(const TestCertificate& signer)
{
    SignatureReport report;
    report.signerCertificate = signer.der;
    return report;
}

} // namespace

class RevocationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void nowThroughOcspAndCrl_data();
    void nowThroughOcspAndCrl();
    void responderWithoutNoCheckIsChecked();
    void responderCheckStopsAtDepthThree();
    void budgetUsedUpMidChain();
    void trustedSelfSignedSigner();
    void untrustedChain();
    void networkOffLeavesItUndetermined();
    void goodEvidenceIssuedAfterTheReferenceTime();
    void evidenceExpiredAtTheReferenceTime();
    void knownOcspEightDaysOld();
    void twoMissingIssuersFetched();
    void crlChecks_data();
    void crlChecks();
    void addressesOfTheCertificate();

private:
    QByteArray premadeAnswer(const TestCertificate& leaf, const QString& fakeTime = {}, int days = 1,
                             bool withNonce = false);

    QTemporaryDir m_dir;
    EvidenceServer m_server;
    std::unique_ptr<EvidencePki> m_pki;
    velk::X509Ptr m_intermediate;
    velk::X509StorePtr m_store;
    velk::X509StackPtr m_untrusted;
};

void RevocationTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    m_pki = std::make_unique<EvidencePki>(m_dir.path(), m_server);
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
    m_intermediate = velk::CertificateDer::parse(m_pki->intermediate.der);
    m_store = velk::TrustStore::loadTrustStore(m_pki->rootPath());
    m_untrusted.reset(sk_X509_new_null());
    QVERIFY(m_intermediate && m_store && m_untrusted);
    X509_up_ref(m_intermediate.get());
    sk_X509_push(m_untrusted.get(), m_intermediate.get());
}

void RevocationTest::init()
{
    m_server.setRoute("/ocsp", m_pki->ocspRoute(m_pki->responder));
}

QByteArray RevocationTest::premadeAnswer(const TestCertificate& leaf, const QString& fakeTime, int days,
                                         bool withNonce)
{
    const QString request = m_dir.filePath(leaf.name + QStringLiteral(".premade.req"));
    QByteArray answer;
    EvidencePki& pki = *m_pki;
    if (!pki.pki().openssl({"ocsp", "-issuer", pki.intermediate.certificatePath, "-cert", leaf.certificatePath,
                            withNonce ? "-nonce" : "-no_nonce", "-reqout", request})
        || !pki.pki().opensslAt(fakeTime, {"ocsp", "-index", pki.pki().indexPath(), "-CA",
                                           pki.intermediate.certificatePath, "-rsigner",
                                           pki.responder.certificatePath, "-rkey", pki.responder.keyPath, "-ndays",
                                           QString::number(days), "-reqin", request, "-respout", "/dev/stdout"},
                                &answer))
        return {};
    return answer;
}

void RevocationTest::nowThroughOcspAndCrl_data()
{
    QTest::addColumn<bool>("revokedLeaf");
    QTest::addColumn<QString>("ocsp"); // "live", "replayed" (no nonce), "foreign" (another request's nonce)
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("good, OCSP") << false << "live" << 1 << kOcspNote + QStringLiteral("; CRL");
    QTest::newRow("revoked, OCSP") << true << "live" << 2 << kRevoked + kOcspNote;
    QTest::newRow("good, replayed OCSP, CRL decides") << false << "replayed" << 1 << QStringLiteral("CRL; CRL");
    QTest::newRow("revoked, replayed OCSP, CRL decides") << true << "replayed" << 2 << kRevoked + QStringLiteral("CRL");
    QTest::newRow("good, foreign nonce, CRL decides") << false << "foreign" << 1 << QStringLiteral("CRL; CRL");
    QTest::newRow("revoked, foreign nonce, CRL decides") << true << "foreign" << 2 << kRevoked + QStringLiteral("CRL");
}

void RevocationTest::nowThroughOcspAndCrl()
{
    QFETCH(bool, revokedLeaf);
    QFETCH(QString, ocsp);
    QFETCH(int, status);
    QFETCH(QString, text);
    const TestCertificate& leaf = revokedLeaf ? m_pki->revokedLeaf : m_pki->goodLeaf;
    const bool replayedOcsp = ocsp != QLatin1String("live");
    if (replayedOcsp) {
        // As a CDN serves it: signed and current, but without our nonce (or
        // with another request's).
        const QByteArray answer = premadeAnswer(leaf, {}, 1, ocsp == QLatin1String("foreign"));
        const velk::X509Ptr certificate = velk::CertificateDer::parse(leaf.der);
        QCOMPARE(OcspEvidence::checkOcspResponse(answer, certificate.get(), m_intermediate.get(), m_store.get(),
                                                 m_untrusted.get(), nullptr, QDateTime(), false),
                 status);
        m_server.setRoute("/ocsp", EvidenceServer::file(answer, "application/ocsp-response"));
    }
    SignatureReport report = reportFor(leaf);
    EvidenceFetchContext context = loopbackContext();
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QCOMPARE(report.revocationText, text);
    QCOMPARE(report.revocationStatus, status);
    QVERIFY(report.chainTrusted);
    QVERIFY(report.purposeValid);
    QCOMPARE(report.chain, (QList<QByteArray>{leaf.der, m_pki->intermediate.der, m_pki->pki().root().der}));
    QVERIFY2(report.certificates.contains(m_pki->intermediate.der), "the intermediate came from the AIA");
    QCOMPARE(report.ocspResponses.size(), replayedOcsp ? 0 : 1);
    if (!revokedLeaf)
        QCOMPARE(report.crls.size(), replayedOcsp ? 2 : 1);
}

void RevocationTest::responderWithoutNoCheckIsChecked()
{
    m_server.setRoute("/ocsp", m_pki->ocspRoute(m_pki->checkedResponder));
    SignatureReport report = reportFor(m_pki->goodLeaf);
    EvidenceFetchContext context = loopbackContext();
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QCOMPARE(report.revocationStatus, 1);
    QVERIFY(report.certificates.contains(m_pki->checkedResponder.der));
    // The responder's own status came from the intermediate's CRL; the
    // sub-check's evidence is merged whole, so the root's CRL comes twice.
    QCOMPARE(report.crls.size(), 3);
    QCOMPARE(report.revocationText, kOcspNote + QStringLiteral("; CRL"));
}

void RevocationTest::responderCheckStopsAtDepthThree()
{
    // Two responders without id-pkix-ocsp-nocheck, each answering for the
    // other: every answer needs a check of its responder, without end.
    auto responder = [this](const QString& name, const QByteArray& statusPath) {
        velk::test::CertificateRequest request;
        request.name = name;
        request.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                              QStringLiteral("keyUsage=critical,digitalSignature"),
                              QStringLiteral("extendedKeyUsage=critical,OCSPSigning"),
                              QStringLiteral("authorityInfoAccess=OCSP;URI:") + m_server.url(QString::fromLatin1(statusPath))};
        return m_pki->pki().issue(request, m_pki->intermediate);
    };
    const TestCertificate first = responder(QStringLiteral("loop-a"), "/ocsp-b");
    const TestCertificate second = responder(QStringLiteral("loop-b"), "/ocsp-a");
    QVERIFY2(first.isValid() && second.isValid(), qPrintable(m_pki->pki().error()));
    m_server.setRoute("/ocsp", m_pki->ocspRoute(first));
    m_server.setRoute("/ocsp-a", m_pki->ocspRoute(first));
    m_server.setRoute("/ocsp-b", m_pki->ocspRoute(second));
    SignatureReport report = reportFor(m_pki->goodLeaf);
    EvidenceFetchContext context = loopbackContext();
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QCOMPARE(report.revocationStatus, 0);
    QVERIFY2(report.revocationText.contains(kLoop), qPrintable(report.revocationText));
    QVERIFY(report.chainTrusted);
    // Depths 0 to 3 asked the network; depth 4 stopped before it.
    QCOMPARE(context.requestCount, 3 + 3 * 2);
}

void RevocationTest::budgetUsedUpMidChain()
{
    SignatureReport report = reportFor(m_pki->goodLeaf);
    EvidenceFetchContext context = loopbackContext();
    // Two requests left: the issuer and the signer's OCSP; the
    // intermediate's CRL is the 25th.
    context.requestCount = 22;
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QCOMPARE(report.revocationStatus, 0);
    QCOMPARE(report.revocationText, kOcspNote + QStringLiteral("; ") + kBudget);
    QVERIFY(report.chainTrusted);
}

void RevocationTest::trustedSelfSignedSigner()
{
    SignatureReport report = reportFor(m_pki->pki().root());
    EvidenceFetchContext context = loopbackContext();
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QVERIFY(report.chainTrusted);
    QCOMPARE(report.revocationStatus, 0);
    QCOMPARE(report.revocationText, kNeedsIssuer);
    QVERIFY(!report.purposeValid);
}

void RevocationTest::untrustedChain()
{
    SignatureReport report = reportFor(m_pki->goodLeaf);
    EvidenceFetchContext context = loopbackContext();
    // A trust file without the root: the intermediate is fetched, then nothing more.
    RevocationChecker::checkRevocation(report, m_pki->responder.certificatePath, context, 0, QDateTime(), false);
    QVERIFY(!report.chainTrusted);
    QCOMPARE(report.revocationStatus, 0);
    QCOMPARE(report.revocationText, kNoChain);
}

void RevocationTest::networkOffLeavesItUndetermined()
{
    SignatureReport report = reportFor(m_pki->revokedLeaf);
    report.certificates = {m_pki->intermediate.der};
    EvidenceFetchContext context = loopbackContext(false);
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QVERIFY(report.chainTrusted);
    QCOMPARE(report.revocationStatus, 0);
    QCOMPARE(report.revocationText, kNetworkOff + QStringLiteral("; ") + kNetworkOff);
    QCOMPARE(context.requestCount, 0);
}

void RevocationTest::goodEvidenceIssuedAfterTheReferenceTime()
{
    // The time stamp's time T, then evidence fetched a moment later, as the
    // signing pipeline does, from a responder certificate issued after T.
    const QDateTime reference = QDateTime::currentDateTimeUtc();
    QThread::msleep(1100);
    velk::test::CertificateRequest request;
    request.name = QStringLiteral("later-responder");
    request.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                          QStringLiteral("keyUsage=critical,digitalSignature"),
                          QStringLiteral("extendedKeyUsage=critical,OCSPSigning"), QStringLiteral("noCheck=ignored")};
    const TestCertificate later = m_pki->pki().issue(request, m_pki->intermediate);
    QVERIFY2(later.isValid(), qPrintable(m_pki->pki().error()));
    m_server.setRoute("/ocsp", m_pki->ocspRoute(later));
    SignatureReport now = reportFor(m_pki->goodLeaf);
    EvidenceFetchContext online = loopbackContext();
    RevocationChecker::checkRevocation(now, m_pki->rootPath(), online, 0, QDateTime(), false);
    QCOMPARE(now.revocationStatus, 1);

    SignatureReport historical = reportFor(m_pki->goodLeaf);
    historical.certificates = now.certificates;
    historical.ocspResponses = now.ocspResponses;
    historical.crls = now.crls;
    EvidenceFetchContext offline = loopbackContext(false);
    RevocationChecker::checkRevocation(historical, m_pki->rootPath(), offline, 0, reference, false);
    QCOMPARE(historical.revocationText, QStringLiteral("DSS OCSP; DSS CRL"));
    QCOMPARE(historical.revocationStatus, 1);

    // A CRL issued after T proves the certificates it does not list; a
    // listed one keeps needing a CRL current at T.
    const QByteArray freshCrl = m_pki->pki().makeCrl(m_pki->intermediate, 48);
    const velk::X509Ptr good = velk::CertificateDer::parse(m_pki->goodLeaf.der);
    const velk::X509Ptr revoked = velk::CertificateDer::parse(m_pki->revokedLeaf.der);
    QCOMPARE(CrlEvidence::checkCrl(freshCrl, good.get(), m_intermediate.get(), reference), 1);
    QCOMPARE(CrlEvidence::checkCrl(freshCrl, revoked.get(), m_intermediate.get(), reference), 0);
}

void RevocationTest::evidenceExpiredAtTheReferenceTime()
{
    // Issued two days ago, current for one day: expired at T = now.
    const QByteArray oldAnswer = premadeAnswer(m_pki->goodLeaf, QStringLiteral("-2d"));
    const QByteArray oldCrl = m_pki->pki().makeCrl(m_pki->intermediate, 24, QStringLiteral("-2d"));
    QVERIFY(!oldAnswer.isEmpty() && !oldCrl.isEmpty());
    const velk::X509Ptr good = velk::CertificateDer::parse(m_pki->goodLeaf.der);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QCOMPARE(OcspEvidence::checkOcspResponse(oldAnswer, good.get(), m_intermediate.get(), m_store.get(),
                                             m_untrusted.get(), nullptr, now, true),
             0);
    QCOMPARE(CrlEvidence::checkCrl(oldCrl, good.get(), m_intermediate.get(), now), 0);
    // Within their own period they still speak.
    const QDateTime then = now.addSecs(-36 * 3600);
    QCOMPARE(OcspEvidence::checkOcspResponse(oldAnswer, good.get(), m_intermediate.get(), m_store.get(),
                                             m_untrusted.get(), nullptr, then, true),
             1);
    QCOMPARE(CrlEvidence::checkCrl(oldCrl, good.get(), m_intermediate.get(), then), 1);
    // Produced before T: only the allow-earlier flag lets it count.
    QCOMPARE(OcspEvidence::checkOcspResponse(oldAnswer, good.get(), m_intermediate.get(), m_store.get(),
                                             m_untrusted.get(), nullptr, then, false),
             0);
    // Seven days at most for a check now.
    QCOMPARE(OcspEvidence::checkOcspResponse(oldAnswer, good.get(), m_intermediate.get(), m_store.get(),
                                             m_untrusted.get(), nullptr, QDateTime(), false),
             0);
}

void RevocationTest::knownOcspEightDaysOld()
{
    // Made eight days ago, current for ten: too old for a check now, good
    // for a historical check at an earlier time stamp.
    const QByteArray answer = premadeAnswer(m_pki->goodLeaf, QStringLiteral("-8d"), 10);
    const velk::X509Ptr good = velk::CertificateDer::parse(m_pki->goodLeaf.der);
    const QDateTime stamped = QDateTime::currentDateTimeUtc().addDays(-7);
    QCOMPARE(OcspEvidence::checkOcspResponse(answer, good.get(), m_intermediate.get(), m_store.get(),
                                             m_untrusted.get(), nullptr, QDateTime(), false),
             0);
    QCOMPARE(OcspEvidence::checkOcspResponse(answer, good.get(), m_intermediate.get(), m_store.get(),
                                             m_untrusted.get(), nullptr, stamped, true),
             1);
}

void RevocationTest::twoMissingIssuersFetched()
{
    velk::test::CertificateRequest sub;
    sub.name = QStringLiteral("sub-authority");
    sub.extensions = {QStringLiteral("basicConstraints=critical,CA:TRUE"),
                      QStringLiteral("keyUsage=critical,keyCertSign,cRLSign"),
                      QStringLiteral("subjectKeyIdentifier=hash"),
                      QStringLiteral("authorityInfoAccess=caIssuers;URI:") + m_server.url(QStringLiteral("/intermediate.der"))};
    const TestCertificate authority = m_pki->pki().issue(sub, m_pki->intermediate);
    QVERIFY2(authority.isValid(), qPrintable(m_pki->pki().error()));
    m_server.setRoute("/sub.der", EvidenceServer::file(authority.der, "application/pkix-cert"));
    const TestCertificate leaf = m_pki->pki().issueSigner(
        QStringLiteral("deep-leaf"), authority,
        {QStringLiteral("authorityInfoAccess=caIssuers;URI:") + m_server.url(QStringLiteral("/sub.der"))});
    QVERIFY2(leaf.isValid(), qPrintable(m_pki->pki().error()));
    SignatureReport report = reportFor(leaf);
    EvidenceFetchContext context = loopbackContext();
    RevocationChecker::checkRevocation(report, m_pki->rootPath(), context, 0, QDateTime(), false);
    QVERIFY(report.chainTrusted);
    QCOMPARE(report.chain.size(), 4);
    QCOMPARE(report.chain.at(1), authority.der);
    QCOMPARE(report.chain.at(2), m_pki->intermediate.der);
    // The deep leaf names no OCSP responder or CRL: undetermined.
    QCOMPARE(report.revocationStatus, 0);
}

void RevocationTest::crlChecks_data()
{
    QTest::addColumn<QByteArray>("crl");
    QTest::addColumn<bool>("revokedLeaf");
    QTest::addColumn<bool>("issuedByRoot");
    QTest::addColumn<qint64>("referenceOffset"); // seconds from now; 0: no reference time
    QTest::addColumn<int>("status");
    velk::test::TestPki& pki = m_pki->pki();
    const QByteArray current = pki.makeCrl(m_pki->intermediate, 48, QStringLiteral("-2h"));
    const QByteArray withIdp = pki.makeCrl(
        m_pki->intermediate, 48, {},
        {QStringLiteral("issuingDistributionPoint=critical,@idp"), QStringLiteral("[idp]"),
         QStringLiteral("fullname=URI:") + m_server.url(QStringLiteral("/intermediate.crl"))});
    QVERIFY(!current.isEmpty() && !withIdp.isEmpty());
    QTest::newRow("good now") << current << false << false << qint64(0) << 1;
    QTest::newRow("revoked now") << current << true << false << qint64(0) << 2;
    QTest::newRow("revoked after the reference time") << current << true << false << qint64(-3600) << 0;
    QTest::newRow("good at the reference time") << current << false << false << qint64(-3600) << 1;
    QTest::newRow("before the CRL was issued") << current << true << false << qint64(-3 * 3600) << 0;
    QTest::newRow("issuing distribution point") << withIdp << true << false << qint64(0) << 0;
    QTest::newRow("issued by another authority") << current << true << true << qint64(0) << 0;
    QTest::newRow("trailing byte") << current + '\0' << true << false << qint64(0) << 0;
    QTest::newRow("garbage") << QByteArray("not a crl") << true << false << qint64(0) << 0;
}

void RevocationTest::crlChecks()
{
    QFETCH(QByteArray, crl);
    QFETCH(bool, revokedLeaf);
    QFETCH(bool, issuedByRoot);
    QFETCH(qint64, referenceOffset);
    QFETCH(int, status);
    const TestCertificate& leaf = revokedLeaf ? m_pki->revokedLeaf : m_pki->goodLeaf;
    const velk::X509Ptr certificate = velk::CertificateDer::parse(leaf.der);
    const velk::X509Ptr root = velk::CertificateDer::parse(m_pki->pki().root().der);
    const QDateTime reference =
        referenceOffset == 0 ? QDateTime() : QDateTime::currentDateTimeUtc().addSecs(referenceOffset);
    QCOMPARE(CrlEvidence::checkCrl(crl, certificate.get(), issuedByRoot ? root.get() : m_intermediate.get(), reference),
             status);
}

void RevocationTest::addressesOfTheCertificate()
{
    const velk::X509Ptr leaf = velk::CertificateDer::parse(m_pki->goodLeaf.der);
    QCOMPARE(CrlEvidence::crlUrlsOf(leaf.get()), QStringList{m_server.url(QStringLiteral("/intermediate.crl"))});
    QCOMPARE(OcspEvidence::ocspUrlsOf(leaf.get()), QStringList{m_server.url(QStringLiteral("/ocsp"))});
    QCOMPARE(CrlEvidence::crlUrlsOf(m_intermediate.get()), QStringList{m_server.url(QStringLiteral("/root.crl"))});
    QCOMPARE(OcspEvidence::ocspUrlsOf(m_intermediate.get()), QStringList());
}

QTEST_GUILESS_MAIN(RevocationTest)
#include "RevocationTest.moc"
