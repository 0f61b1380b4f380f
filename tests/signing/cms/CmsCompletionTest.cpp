// Completing our signature: the trust chain's certificates added (at most
// 32, file size bounded), a signature time stamp from `openssl ts -reply`
// behind the loopback server added as unsigned attribute, the signed
// attributes untouched; openssl cms and openssl ts as the judges.

#include "CmsFixtures.h"

#include "signing/cms/CmsSignature.h"
#include "signing/cms/CmsVerification.h"
#include "signing/cms/DerEncoding.h"
#include "signing/timestamps/Timestamp.h"
#include "support/EvidencePki.h"
#include "support/EvidenceServer.h"
#include "support/SignedPdfFixtures.h"
#include "worker/contract/OpenSslHandles.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

using velk::CmsSignature;
using velk::EvidenceFetchContext;
using velk::SignatureOptions;
using velk::test::EvidencePki;
using velk::test::EvidenceServer;
using velk::test::HttpExchange;

namespace {

const QString kUnreadableCms = QString::fromUtf8("CMS okunamadı.");
const QString kUnreadableChain = QString::fromUtf8("PEM güven zinciri okunamadı.");
const QString kTooMany = QString::fromUtf8("PEM zinciri 32 sertifikayı aşıyor.");

const QByteArray kDocument = QByteArrayLiteral("%PDF-1.7 covered bytes\n");

EvidenceFetchContext loopbackContext()
{
    EvidenceFetchContext context;
    context.networkAllowed = true;
    context.privateHostAllowList = {QStringLiteral("127.0.0.1")};
    return context;
}

velk::CmsContentInfoPtr parseCms(const QByteArray& der)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(der.constData());
    return velk::CmsContentInfoPtr(d2i_CMS_ContentInfo(nullptr, &cursor, long(der.size())));
}

int certificateCount(const QByteArray& cms)
{
    const velk::CmsContentInfoPtr parsed = parseCms(cms);
    const velk::X509StackPtr certificates(parsed ? CMS_get1_certs(parsed.get()) : nullptr);
    return sk_X509_num(certificates.get());
}

// The signed attributes block [0] exactly as encoded.
QByteArray signedAttributesBlock(const QByteArray& cms)
{
    const velk::CmsContentInfoPtr parsed = parseCms(cms);
    CMS_SignerInfo* signerInfo = sk_CMS_SignerInfo_value(CMS_get0_SignerInfos(parsed.get()), 0);
    QByteArray attributes;
    for (int i = 0; i < CMS_signed_get_attr_count(signerInfo); ++i) {
        unsigned char* der = nullptr;
        const int length = i2d_X509_ATTRIBUTE(CMS_signed_get_attr(signerInfo, i), &der);
        attributes += QByteArray(reinterpret_cast<const char*>(der), length);
        OPENSSL_free(der);
    }
    return velk::DerEncoding::derTlv(0xA0, attributes);
}

} // namespace

class CmsCompletionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void nothingToAdd();
    void unreadableCms();
    void trustChain_data();
    void trustChain();
    void timestamp();
    void timestampFailure();

private:
    QString writeChain(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
    EvidenceServer m_server;
    std::unique_ptr<EvidencePki> m_pki;
    velk::test::TestCertificate m_signer;
    QByteArray m_cms;
    QByteArray m_lastTsaReply;
};

QString CmsCompletionTest::writeChain(const QString& name, const QByteArray& bytes)
{
    const QString path = m_dir.filePath(name);
    return velk::test::writeFile(path, bytes) ? path : QString();
}

void CmsCompletionTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    m_pki = std::make_unique<EvidencePki>(m_dir.path(), m_server);
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
    m_signer = m_pki->pki().issueSigner(QStringLiteral("completion-signer"), m_pki->intermediate);
    QVERIFY(m_signer.isValid());
    QString error;
    m_cms = CmsSignature::buildCmsSignature(
        QCryptographicHash::hash(kDocument, QCryptographicHash::Sha256), m_signer.der,
        [this](const QByteArray& data, QString&) { return velk::test::signWithKey(m_signer.keyPath, data); }, error);
    QVERIFY2(!m_cms.isEmpty(), qPrintable(error));
    const velk::test::HttpRoute tsa = m_pki->tsaRoute(m_pki->tsaConfig);
    m_server.setRoute("/tsa-kept", [this, tsa](const HttpExchange& exchange) {
        velk::test::HttpAnswer answer = tsa(exchange);
        m_lastTsaReply = answer.body;
        return answer;
    });
    m_server.setRoute("/tsa-broken", EvidenceServer::file("not a reply", "application/timestamp-reply"));
}

void CmsCompletionTest::nothingToAdd()
{
    EvidenceFetchContext context = loopbackContext();
    QString error = QStringLiteral("stale");
    QCOMPARE(CmsSignature::completeCmsSignature(m_cms, SignatureOptions{}, context, error), m_cms);
    QVERIFY(error.isEmpty());
    QCOMPARE(context.requestCount, 0);
}

void CmsCompletionTest::unreadableCms()
{
    EvidenceFetchContext context = loopbackContext();
    QString error;
    const QList<QByteArray> broken = {QByteArray(), QByteArray("not a CMS"), m_cms.chopped(1),
                                      QByteArray(m_cms + QByteArray(1, '\0'))};
    for (const QByteArray& bad : broken) {
        QVERIFY(CmsSignature::completeCmsSignature(bad, SignatureOptions{}, context, error).isEmpty());
        QCOMPARE(error, kUnreadableCms);
    }
    const QByteArray foreign = velk::test::opensslCms(m_pki->pki(), m_signer, kDocument, {"-md", "sha256"});
    const QByteArray twoSigners = velk::test::addSecondSigner(m_pki->pki(), foreign, m_pki->goodLeaf);
    QVERIFY(!twoSigners.isEmpty());
    QVERIFY(CmsSignature::completeCmsSignature(twoSigners, SignatureOptions{}, context, error).isEmpty());
    QCOMPARE(error, kUnreadableCms);
}

void CmsCompletionTest::trustChain_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("certificates");
    QTest::newRow("root and intermediate") << "chain" << QString() << 3;
    QTest::newRow("32 certificates") << "32" << QString() << 2;
    QTest::newRow("33 certificates") << "33" << kTooMany << 0;
    QTest::newRow("no certificate in the file") << "text" << QString() << 1;
    QTest::newRow("signer again") << "signer" << QString() << 1;
    QTest::newRow("missing file") << "missing" << kUnreadableChain << 0;
    QTest::newRow("larger than 4 MiB") << "large" << kUnreadableChain << 0;
}

void CmsCompletionTest::trustChain()
{
    QFETCH(QString, file);
    QFETCH(QString, error);
    QFETCH(int, certificates);
    const QByteArray root = velk::test::readFile(m_pki->rootPath());
    const QByteArray intermediate = velk::test::readFile(m_pki->intermediate.certificatePath);
    QString path = m_dir.filePath(QStringLiteral("missing.pem"));
    if (file == QLatin1String("chain"))
        path = writeChain("chain.pem", root + intermediate);
    else if (file == QLatin1String("32"))
        path = writeChain("32.pem", root.repeated(32));
    else if (file == QLatin1String("33"))
        path = writeChain("33.pem", root.repeated(33));
    else if (file == QLatin1String("text"))
        path = writeChain("text.pem", "no certificates here\n");
    else if (file == QLatin1String("signer"))
        path = writeChain("signer.pem", velk::test::readFile(m_signer.certificatePath));
    else if (file == QLatin1String("large"))
        path = writeChain("large.pem", root + QByteArray(4194304 - root.size() + 1, '\n'));
    QVERIFY(!path.isEmpty());
    SignatureOptions options;
    options.trustChain = path;
    EvidenceFetchContext context = loopbackContext();
    QString message;
    const QByteArray completed = CmsSignature::completeCmsSignature(m_cms, options, context, message);
    QCOMPARE(message, error);
    QCOMPARE(completed.isEmpty(), !error.isEmpty());
    if (!completed.isEmpty()) {
        QCOMPARE(certificateCount(completed), certificates);
        QCOMPARE(signedAttributesBlock(completed), signedAttributesBlock(m_cms));
    }
}

void CmsCompletionTest::timestamp()
{
    const QString chain = writeChain("tsa-chain.pem", velk::test::readFile(m_pki->rootPath())
                                                          + velk::test::readFile(m_pki->intermediate.certificatePath));
    SignatureOptions options;
    options.trustChain = chain;
    options.timestampAuthority = m_server.url(QStringLiteral("/tsa-kept"));
    EvidenceFetchContext context = loopbackContext();
    QString error;
    const QByteArray completed = CmsSignature::completeCmsSignature(m_cms, options, context, error);
    QVERIFY2(!completed.isEmpty(), qPrintable(error));
    QVERIFY(completed.contains(signedAttributesBlock(m_cms)));
    QCOMPARE(velk::test::cmsSignatureValue(completed), velk::test::cmsSignatureValue(m_cms));

    // The attribute holds the authority's token as it answered it.
    const auto* cursor = reinterpret_cast<const unsigned char*>(m_lastTsaReply.constData());
    velk::TsResponsePtr reply(d2i_TS_RESP(nullptr, &cursor, long(m_lastTsaReply.size())));
    QVERIFY(reply);
    unsigned char* der = nullptr;
    const int length = i2d_PKCS7(TS_RESP_get_token(reply.get()), &der);
    const QByteArray answered(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    const velk::CmsContentInfoPtr parsed = parseCms(completed);
    const QByteArray token =
        velk::Timestamp::timestampTokenOf(sk_CMS_SignerInfo_value(CMS_get0_SignerInfos(parsed.get()), 0));
    QCOMPARE(token, answered);

    velk::test::TestPki& pki = m_pki->pki();
    const QString tokenPath = m_dir.filePath(QStringLiteral("token.der"));
    const QString cmsPath = m_dir.filePath(QStringLiteral("completed.p7s"));
    const QString contentPath = m_dir.filePath(QStringLiteral("document.bin"));
    QVERIFY(velk::test::writeFile(tokenPath, token) && velk::test::writeFile(cmsPath, completed)
            && velk::test::writeFile(contentPath, kDocument));
    const QByteArray imprint =
        QCryptographicHash::hash(velk::test::cmsSignatureValue(completed), QCryptographicHash::Sha256);
    QVERIFY2(pki.openssl({"ts", "-verify", "-digest", QString::fromLatin1(imprint.toHex()), "-token_in", "-in",
                          tokenPath, "-CAfile", m_pki->rootPath(), "-untrusted", m_pki->intermediate.certificatePath}),
             qPrintable(pki.error()));
    QVERIFY2(pki.openssl({"cms", "-verify", "-binary", "-inform", "DER", "-in", cmsPath, "-content", contentPath,
                          "-CAfile", m_pki->rootPath(), "-out", "/dev/null"}),
             qPrintable(pki.error()));

    const velk::SignatureReport report =
        velk::CmsVerification::verifyCmsSignature(completed, kDocument, m_pki->rootPath(), true);
    QVERIFY(report.integrityValid);
    QVERIFY(report.chainTrusted);
    QVERIFY(report.timestampValid);
    QCOMPARE(report.timestampToken, token);
}

void CmsCompletionTest::timestampFailure()
{
    SignatureOptions options;
    options.timestampAuthority = m_server.url(QStringLiteral("/tsa-broken"));
    options.trustChain = m_pki->rootPath();
    EvidenceFetchContext context = loopbackContext();
    QString error;
    QVERIFY(CmsSignature::completeCmsSignature(m_cms, options, context, error).isEmpty());
    QCOMPARE(error, QString::fromUtf8("RFC3161 TSA yanıtı bozuk veya eksik."));
}

QTEST_GUILESS_MAIN(CmsCompletionTest)
#include "CmsCompletionTest.moc"
