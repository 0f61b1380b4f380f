// RFC 3161 time stamps against `openssl ts -reply` behind the loopback
// server: the request's bytes, the checks of the reply (nonce, clock, digest,
// trailing bytes, status), the token checks at genTime, and the system store.

#include "signing/timestamps/Timestamp.h"
#include "signing/timestamps/TimestampRequest.h"
#include "support/EvidencePki.h"
#include "support/EvidenceServer.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <openssl/bn.h>

using velk::EvidenceFetchContext;
using velk::SignatureReport;
using velk::Timestamp;
using velk::TimestampRequest;
using velk::test::EvidencePki;
using velk::test::EvidenceServer;
using velk::test::HttpExchange;

namespace {

const QString kNotPrepared = QString::fromUtf8("TSA isteği veya güven deposu hazırlanamadı.");
const QString kBroken = QString::fromUtf8("RFC3161 TSA yanıtı bozuk veya eksik.");
const QString kRejected =
    QString::fromUtf8("TSA imzası/zinciri, zaman damgası EKU, imprint veya nonce doğrulanamadı.");
const QString kBadTime =
    QString::fromUtf8("TSA zamanı doğrulanamadı veya yerel saatten 5 dakikadan fazla farklı.");
const QString kFetchFailed = QString::fromUtf8("OCSP/CRL/TSA yanıtı alınamadı veya sınırı aştı; BELİRSİZ.");

QByteArray imprintOf(const QByteArray& text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256);
}

EvidenceFetchContext loopbackContext()
{
    EvidenceFetchContext context;
    context.networkAllowed = true;
    context.privateHostAllowList = {QStringLiteral("127.0.0.1")};
    return context;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TimestampTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void requestBytes();
    void requestNeedsThirtyTwoBytes_data();
    void requestNeedsThirtyTwoBytes();
    void requestAcceptedByOpenssl();
    void requestFailures_data();
    void requestFailures();
    void tokenChecks_data();
    void tokenChecks();
    void expiredAuthorityValidAtGenTime();
    void systemStore();
    void tokenInsideCms();

private:
    QByteArray tokenFor(const QByteArray& imprint, const QString& digest, const QString& config,
                        const QString& fakeTime = {});

    QTemporaryDir m_dir;
    EvidenceServer m_server;
    std::unique_ptr<EvidencePki> m_pki;
    QString m_sha1Config;
};

void TimestampTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    m_pki = std::make_unique<EvidencePki>(m_dir.path(), m_server);
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
    EvidencePki& pki = *m_pki;

    m_server.setRoute("/tsa+299", pki.tsaRoute(pki.tsaConfig, QStringLiteral("+299s")));
    m_server.setRoute("/tsa+301", pki.tsaRoute(pki.tsaConfig, QStringLiteral("+301s")));
    m_server.setRoute("/tsa-301", pki.tsaRoute(pki.tsaConfig, QStringLiteral("-301s")));
    m_sha1Config = pki.pki().writeTsaConfig(pki.tsa, {pki.intermediate}, QStringLiteral("sha1"));
    QVERIFY(!m_sha1Config.isEmpty());
    m_server.setRoute("/tsa-sha1", pki.tsaRoute(m_sha1Config));
    const velk::test::HttpRoute plain = pki.tsaRoute(pki.tsaConfig);
    m_server.setRoute("/tsa-zeros", [plain](const HttpExchange& exchange) {
        velk::test::HttpAnswer answer = plain(exchange);
        answer.body += QByteArray(4, '\0');
        return answer;
    });
    m_server.setRoute("/tsa-trailing", [plain](const HttpExchange& exchange) {
        velk::test::HttpAnswer answer = plain(exchange);
        answer.body += '\x01';
        return answer;
    });
    // Answers a copy of the request that carries another nonce.
    m_server.setRoute("/tsa-foreign-nonce", [plain](const HttpExchange& exchange) {
        const auto* cursor = reinterpret_cast<const unsigned char*>(exchange.body.constData());
        velk::TsRequestPtr request(d2i_TS_REQ(nullptr, &cursor, long(exchange.body.size())));
        velk::Asn1IntegerPtr nonce(ASN1_INTEGER_new());
        ASN1_INTEGER_set(nonce.get(), 424242);
        TS_REQ_set_nonce(request.get(), nonce.get());
        HttpExchange changed = exchange;
        changed.body = TimestampRequest::encode(request.get());
        return plain(changed);
    });
    m_server.setRoute("/tsa-html", EvidenceServer::file("<html><body>TSA</body></html>", "text/html"));
}

QByteArray TimestampTest::tokenFor(const QByteArray& imprint, const QString& digest, const QString& config,
                                   const QString& fakeTime)
{
    QByteArray query;
    QByteArray token;
    const QString queryPath = m_dir.filePath(QStringLiteral("query.tsq"));
    if (!m_pki->pki().openssl({"ts", "-query", "-digest", QString::fromLatin1(imprint.toHex()), "-" + digest,
                               "-cert", "-out", queryPath})
        || !m_pki->pki().opensslAt(fakeTime, {"ts", "-reply", "-config", config, "-queryfile", queryPath,
                                              "-token_out", "-out", "/dev/stdout"},
                                   &token))
        return {};
    return token;
}

void TimestampTest::requestBytes()
{
    const QByteArray imprint = imprintOf("signature value");
    velk::TsRequestPtr request = TimestampRequest::buildTimestampRequest(imprint);
    QVERIFY(request);
    const QByteArray der = TimestampRequest::encode(request.get());
    const auto* cursor = reinterpret_cast<const unsigned char*>(der.constData());
    velk::TsRequestPtr parsed(d2i_TS_REQ(nullptr, &cursor, long(der.size())));
    QVERIFY(parsed);
    QCOMPARE(TS_REQ_get_version(parsed.get()), 1L);
    TS_MSG_IMPRINT* message = TS_REQ_get_msg_imprint(parsed.get());
    const X509_ALGOR* algorithm = TS_MSG_IMPRINT_get_algo(message);
    QCOMPARE(OBJ_obj2nid(algorithm->algorithm), NID_sha256);
    QVERIFY2(algorithm->parameter != nullptr && algorithm->parameter->type == V_ASN1_NULL, "explicit NULL");
    const ASN1_OCTET_STRING* hashed = TS_MSG_IMPRINT_get_msg(message);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(ASN1_STRING_get0_data(hashed)), ASN1_STRING_length(hashed)),
             imprint);
    const ASN1_INTEGER* nonce = TS_REQ_get_nonce(parsed.get());
    QVERIFY(nonce != nullptr);
    QCOMPARE(ASN1_STRING_type(nonce), V_ASN1_INTEGER); // positive
    QVERIFY(ASN1_STRING_length(nonce) <= 17 && ASN1_STRING_length(nonce) >= 1);
    QCOMPARE(TS_REQ_get_cert_req(parsed.get()), 1);
    QVERIFY(TS_REQ_get_policy_id(parsed.get()) == nullptr);
    QVERIFY(TS_REQ_get_exts(parsed.get()) == nullptr);

    // Each request draws its own nonce.
    velk::TsRequestPtr other = TimestampRequest::buildTimestampRequest(imprint);
    QVERIFY(ASN1_INTEGER_cmp(TS_REQ_get_nonce(other.get()), nonce) != 0);
}

void TimestampTest::requestNeedsThirtyTwoBytes_data()
{
    QTest::addColumn<int>("size");
    for (int size : {0, 20, 31, 33, 48})
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TimestampTest::requestNeedsThirtyTwoBytes()
{
    QFETCH(int, size);
    QVERIFY(!TimestampRequest::buildTimestampRequest(QByteArray(size, 'x')));
    EvidenceFetchContext context = loopbackContext();
    QString error;
    QVERIFY(Timestamp::requestTimestamp(QByteArray(size, 'x'), m_server.url("/tsa"), m_pki->rootPath(), context, error)
                .isEmpty());
    QCOMPARE(error, kNotPrepared);
    QCOMPARE(context.requestCount, 0);
}

void TimestampTest::requestAcceptedByOpenssl()
{
    const QByteArray imprint = imprintOf("document");
    EvidenceFetchContext context = loopbackContext();
    QString error;
    const QByteArray token = Timestamp::requestTimestamp(imprint, m_server.url("/tsa"), m_pki->rootPath(), context, error);
    QCOMPARE(error, QString());
    QVERIFY(!token.isEmpty());
    QCOMPARE(m_server.exchanges().constLast().header("Content-Type"), QByteArray("application/timestamp-query"));
    QCOMPARE(m_server.exchanges().constLast().header("Accept"), QByteArray("application/timestamp-reply"));

    const QString tokenPath = m_dir.filePath(QStringLiteral("token.der"));
    QVERIFY(writeFile(tokenPath, token));
    QVERIFY2(m_pki->pki().openssl({"ts", "-verify", "-in", tokenPath, "-token_in", "-digest",
                                   QString::fromLatin1(imprint.toHex()), "-CAfile", m_pki->rootPath(), "-untrusted",
                                   m_pki->intermediate.certificatePath}),
             qPrintable(m_pki->pki().error()));

    SignatureReport report;
    QVERIFY(Timestamp::verifyTimestampToken(token, imprint, m_pki->rootPath(), report));
    QVERIFY(report.hasTimestamp && report.timestampValid);
    QCOMPARE(report.timestampToken, token);
    QCOMPARE(report.signerCertificate, m_pki->tsa.der);
    QCOMPARE(report.signerName, QStringLiteral("tsa")); // the authority's display name
    QVERIFY(report.certificates.contains(m_pki->intermediate.der));
    const QDateTime time = QDateTime::fromString(report.timestampTime, Qt::ISODate);
    QVERIFY(report.timestampTime.endsWith(QLatin1Char('Z')));
    QVERIFY(qAbs(time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
}

void TimestampTest::requestFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error"); // empty: accepted
    QTest::newRow("genTime +299 s") << "/tsa+299" << QString();
    QTest::newRow("genTime +301 s") << "/tsa+301" << kBadTime;
    QTest::newRow("genTime -301 s") << "/tsa-301" << kBadTime;
    QTest::newRow("foreign nonce") << "/tsa-foreign-nonce" << kRejected;
    QTest::newRow("authority accepts only SHA-1") << "/tsa-sha1" << kRejected;
    QTest::newRow("zeros after the reply") << "/tsa-zeros" << kBroken;
    QTest::newRow("a byte after the reply") << "/tsa-trailing" << kBroken;
    QTest::newRow("HTML page with 200") << "/tsa-html" << kBroken;
    QTest::newRow("no such service") << "/missing" << kFetchFailed;
}

void TimestampTest::requestFailures()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    EvidenceFetchContext context = loopbackContext();
    QString message;
    const QByteArray token =
        Timestamp::requestTimestamp(imprintOf("x"), m_server.url(path), m_pki->rootPath(), context, message);
    QCOMPARE(message, error);
    QCOMPARE(token.isEmpty(), !error.isEmpty());
    QCOMPARE(context.requestCount, 1);
}

void TimestampTest::tokenChecks_data()
{
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<QByteArray>("imprint");
    QTest::addColumn<bool>("valid");
    const QByteArray imprint = imprintOf("token checks");
    const QByteArray token = tokenFor(imprint, QStringLiteral("sha256"), m_pki->tsaConfig);
    QVERIFY(!token.isEmpty());
    QTest::newRow("token") << token << imprint << true;
    QTest::newRow("zero fill after it") << token + QByteArray(64, '\0') << imprint << true;
    QTest::newRow("zeros then a byte") << token + QByteArray(3, '\0') + '\x01' << imprint << false;
    QTest::newRow("truncated") << token.left(token.size() - 1) << imprint << false;
    QTest::newRow("other imprint") << token << imprintOf("other") << false;
    QTest::newRow("20-byte imprint") << token << imprint.left(20) << false;
    QTest::newRow("empty") << QByteArray() << imprint << false;

    // A token over a SHA-1 imprint that openssl itself accepts.
    const QByteArray sha1 = QCryptographicHash::hash("token checks", QCryptographicHash::Sha1);
    const QByteArray sha1Token = tokenFor(sha1, QStringLiteral("sha1"), m_sha1Config);
    const QString path = m_dir.filePath(QStringLiteral("sha1.der"));
    QVERIFY(writeFile(path, sha1Token));
    QVERIFY(m_pki->pki().openssl({"ts", "-verify", "-in", path, "-token_in", "-digest",
                                  QString::fromLatin1(sha1.toHex()), "-CAfile", m_pki->rootPath(), "-untrusted",
                                  m_pki->intermediate.certificatePath}));
    QTest::newRow("SHA-1 imprint") << sha1Token << imprint << false;
    QTest::newRow("SHA-1 imprint, its own bytes padded") << sha1Token << sha1 + QByteArray(12, '\0') << false;
}

void TimestampTest::tokenChecks()
{
    QFETCH(QByteArray, token);
    QFETCH(QByteArray, imprint);
    QFETCH(bool, valid);
    SignatureReport report;
    QCOMPARE(Timestamp::verifyTimestampToken(token, imprint, m_pki->rootPath(), report), valid);
    QVERIFY(report.hasTimestamp);
    QCOMPARE(report.timestampValid, valid);
}

void TimestampTest::expiredAuthorityValidAtGenTime()
{
    velk::test::TestPki& pki = m_pki->pki();
    velk::test::CertificateRequest root;
    root.name = QStringLiteral("past-root");
    root.subject = QStringLiteral("/C=TR/O=Velk Test/CN=Past Root");
    root.extensions = {QStringLiteral("basicConstraints=critical,CA:TRUE"),
                       QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")};
    root.notBefore = QStringLiteral("20200101000000Z");
    root.notAfter = QStringLiteral("20230101000000Z");
    const velk::test::TestCertificate pastRoot = pki.issue(root, {});
    velk::test::CertificateRequest tsa;
    tsa.name = QStringLiteral("past-tsa");
    tsa.extensions = {QStringLiteral("basicConstraints=critical,CA:FALSE"),
                      QStringLiteral("keyUsage=critical,digitalSignature"),
                      QStringLiteral("extendedKeyUsage=critical,timeStamping")};
    tsa.notBefore = QStringLiteral("20200601000000Z");
    tsa.notAfter = QStringLiteral("20220101000000Z");
    const velk::test::TestCertificate pastTsa = pki.issue(tsa, pastRoot);
    QVERIFY2(pastRoot.isValid() && pastTsa.isValid(), qPrintable(pki.error()));
    const QString config = pki.writeTsaConfig(pastTsa, {});
    const QByteArray imprint = imprintOf("long ago");
    const QByteArray token = tokenFor(imprint, QStringLiteral("sha256"), config, QStringLiteral("2021-06-01 12:00:00"));
    QVERIFY(!token.isEmpty());

    SignatureReport report;
    QVERIFY(Timestamp::verifyTimestampToken(token, imprint, pastRoot.certificatePath, report));
    QVERIFY(report.timestampTime.startsWith(QLatin1String("2021-06-01T12:00:")));
    SignatureReport other;
    QVERIFY(!Timestamp::verifyTimestampToken(token, imprint, m_pki->rootPath(), other));
}

void TimestampTest::systemStore()
{
    const QByteArray savedFile = qgetenv("SSL_CERT_FILE");
    const QByteArray savedDir = qgetenv("SSL_CERT_DIR");
    const QString emptyFile = m_dir.filePath(QStringLiteral("empty.pem"));
    QVERIFY(writeFile(emptyFile, {}));
    QDir(m_dir.path()).mkpath(QStringLiteral("empty-dir"));
    qputenv("SSL_CERT_FILE", QFile::encodeName(emptyFile));
    qputenv("SSL_CERT_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("empty-dir"))));
    EvidenceFetchContext context = loopbackContext();
    QString error;
    const QByteArray none = Timestamp::requestTimestamp(imprintOf("s"), m_server.url("/tsa"), QString(), context, error);
    const QString emptyError = error;
    const int emptyCount = context.requestCount;

    qputenv("SSL_CERT_FILE", QFile::encodeName(m_pki->rootPath()));
    const QByteArray token = Timestamp::requestTimestamp(imprintOf("s"), m_server.url("/tsa"), QString(), context, error);
    qputenv("SSL_CERT_FILE", savedFile);
    qputenv("SSL_CERT_DIR", savedDir);
    if (savedFile.isNull())
        qunsetenv("SSL_CERT_FILE");
    if (savedDir.isNull())
        qunsetenv("SSL_CERT_DIR");

    QVERIFY(none.isEmpty());
    QCOMPARE(emptyError, kNotPrepared);
    QCOMPARE(emptyCount, 0);
    QCOMPARE(error, QString());
    QVERIFY(!token.isEmpty());
}

void TimestampTest::tokenInsideCms()
{
    const QByteArray token = tokenFor(imprintOf("cms"), QStringLiteral("sha256"), m_pki->tsaConfig);
    QByteArray cmsDer;
    const QString dataPath = m_dir.filePath(QStringLiteral("data.bin"));
    QVERIFY(writeFile(dataPath, "signed data"));
    QVERIFY(m_pki->pki().openssl({"cms", "-sign", "-binary", "-in", dataPath, "-signer",
                                  m_pki->goodLeaf.certificatePath, "-inkey", m_pki->goodLeaf.keyPath, "-outform",
                                  "DER", "-md", "sha256"},
                                 &cmsDer));
    const auto* cursor = reinterpret_cast<const unsigned char*>(cmsDer.constData());
    velk::CmsContentInfoPtr cms(d2i_CMS_ContentInfo(nullptr, &cursor, long(cmsDer.size())));
    QVERIFY(cms);
    CMS_SignerInfo* signer = sk_CMS_SignerInfo_value(CMS_get0_SignerInfos(cms.get()), 0);
    QCOMPARE(Timestamp::timestampTokenOf(signer), QByteArray());
    QVERIFY(CMS_unsigned_add1_attr_by_NID(signer, NID_id_smime_aa_timeStampToken, V_ASN1_SEQUENCE,
                                          token.constData(), int(token.size())));
    QCOMPARE(Timestamp::timestampTokenOf(signer), token);

    unsigned char* der = nullptr;
    const int length = i2d_CMS_ContentInfo(cms.get(), &der);
    const QByteArray withToken(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    SignatureReport report;
    Timestamp::inspectTimestampToken(withToken, false, report);
    QCOMPARE(report.signerCertificate, m_pki->tsa.der);
    QVERIFY(report.certificates.contains(m_pki->tsa.der));

    // A second time-stamp attribute makes the token ambiguous.
    QVERIFY(CMS_unsigned_add1_attr_by_NID(signer, NID_id_smime_aa_timeStampToken, V_ASN1_SEQUENCE,
                                          token.constData(), int(token.size())));
    QCOMPARE(Timestamp::timestampTokenOf(signer), QByteArray());
}

QTEST_GUILESS_MAIN(TimestampTest)
#include "TimestampTest.moc"
