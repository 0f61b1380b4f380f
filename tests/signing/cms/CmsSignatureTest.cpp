// Our CAdES signature builder with keys held in process: the certificate
// checks made before the device is asked, the device's answer checked
// against the certificate, the shape of the signed attributes and of the
// SignedData, and openssl cms as the judge. Also the DER building blocks.

#include "CmsFixtures.h"

#include "signing/cms/CmsSignature.h"
#include "signing/cms/CmsVerification.h"
#include "signing/cms/DerEncoding.h"
#include "support/SignedPdfFixtures.h"
#include "worker/contract/OpenSslHandles.h"

#include <QCryptographicHash>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>


using velk::CmsSignature;
using velk::DerEncoding;
using velk::TokenSignFunction;
using velk::test::TestCertificate;

namespace {

const QString kInvalidInput = QString::fromUtf8("İmzacı sertifikası veya belge özeti geçersiz.");
const QString kWeakKey = QString::fromUtf8("Sertifika RSA 2048+ veya EC 256+ imza anahtarı içermeli.");
const QString kOutsideValidity = QString::fromUtf8("İmzacı sertifikasının geçerlilik süresi dışında.");
const QString kKeyUsage = QString::fromUtf8("Sertifikanın anahtar kullanımı imzalamaya izin vermiyor.");
const QString kNoSignature = QString::fromUtf8("Cihaz imza üretmedi.");
const QString kMismatch = QString::fromUtf8("Cihaz imzası seçilen sertifikayla doğrulanamadı.");
const QString kDeviceOwn = QString::fromUtf8("PIN hatalı.");

const QByteArray kDocument = QByteArrayLiteral("%PDF-1.7 the covered bytes of a document\n");

velk::CmsContentInfoPtr parseCms(const QByteArray& der)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(der.constData());
    return velk::CmsContentInfoPtr(d2i_CMS_ContentInfo(nullptr, &cursor, long(der.size())));
}

CMS_SignerInfo* signerInfoOf(CMS_ContentInfo* cms)
{
    return sk_CMS_SignerInfo_value(CMS_get0_SignerInfos(cms), 0);
}

} // namespace

class CmsSignatureTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void derLengths_data();
    void derLengths();
    void derOid();
    void build_data();
    void build();
    void signedAttributes_data();
    void signedAttributes();

private:
    TestCertificate certificate(const QString& name, const QString& algorithm, const QStringList& extensions,
                                const QString& notBefore = {}, const QString& notAfter = {});

    QTemporaryDir m_dir;
    std::unique_ptr<velk::test::TestPki> m_pki;
    QHash<QString, TestCertificate> m_certificates;
};

TestCertificate CmsSignatureTest::certificate(const QString& name, const QString& algorithm,
                                              const QStringList& extensions, const QString& notBefore,
                                              const QString& notAfter)
{
    velk::test::CertificateRequest request;
    request.name = name;
    request.keyAlgorithm = algorithm;
    request.extensions = extensions;
    request.notBefore = notBefore;
    request.notAfter = notAfter;
    return m_pki->issue(request, m_pki->root());
}

void CmsSignatureTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pki = std::make_unique<velk::test::TestPki>(m_dir.path());
    QVERIFY2(m_pki->isValid(), qPrintable(m_pki->error()));
    const QStringList signing = {QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation")};
    m_certificates["rsa2048"] = certificate("rsa2048", "rsa:2048", signing);
    m_certificates["rsa2047"] = certificate("rsa2047", "rsa:2047", signing);
    m_certificates["p256"] = certificate("p256", "ec:prime256v1", signing);
    m_certificates["p384"] = certificate("p384", "ec:secp384r1", signing);
    m_certificates["p224"] = certificate("p224", "ec:secp224r1", signing);
    m_certificates["ed25519"] = certificate("ed25519", "ed25519", signing);
    m_certificates["no-key-usage"] = certificate("no-key-usage", "ec:prime256v1", {});
    m_certificates["encipherment"] =
        certificate("encipherment", "ec:prime256v1", {QStringLiteral("keyUsage=keyEncipherment")});
    m_certificates["expired"] = certificate("expired", "ec:prime256v1", signing, "20200101000000Z", "20210101000000Z");
    m_certificates["future"] = certificate("future", "ec:prime256v1", signing, "20400101000000Z", "20410101000000Z");
    for (auto it = m_certificates.cbegin(); it != m_certificates.cend(); ++it)
        QVERIFY2(it.value().isValid(), qPrintable(it.key() + QLatin1Char(' ') + m_pki->error()));
}

void CmsSignatureTest::derLengths_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("empty") << 0 << QByteArray::fromHex("0400");
    QTest::newRow("127, short form") << 127 << QByteArray::fromHex("047f");
    QTest::newRow("128") << 128 << QByteArray::fromHex("048180");
    QTest::newRow("255") << 255 << QByteArray::fromHex("0481ff");
    QTest::newRow("256") << 256 << QByteArray::fromHex("04820100");
    QTest::newRow("65536") << 65536 << QByteArray::fromHex("0483010000");
}

void CmsSignatureTest::derLengths()
{
    QFETCH(int, size);
    QFETCH(QByteArray, header);
    const QByteArray content(size, '\x5a');
    QCOMPARE(DerEncoding::derTlv(0x04, content), header + content);
}

void CmsSignatureTest::derOid()
{
    QCOMPARE(DerEncoding::derOid(QStringLiteral("1.2.840.113549.1.7.1")), QByteArray::fromHex("06092a864886f70d010701"));
    QVERIFY(DerEncoding::derOid(QStringLiteral("data")).isEmpty()); // numeric only
    QVERIFY(DerEncoding::derOid(QStringLiteral("not an oid")).isEmpty());
    QVERIFY(DerEncoding::derOid(QString()).isEmpty());
    QCOMPARE(DerEncoding::derAttribute(QStringLiteral("1.2.840.113549.1.9.3"), QByteArray::fromHex("0500")),
             QByteArray::fromHex("300f06092a864886f70d01090331020500"));
}

void CmsSignatureTest::build_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("digestBytes");
    QTest::addColumn<bool>("trailingByte");
    QTest::addColumn<QString>("device"); // own, other-key, other-bytes, nothing, own-sentence
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("asked");
    QTest::newRow("RSA 2048") << "rsa2048" << 32 << false << "own" << QString() << true;
    QTest::newRow("P-256") << "p256" << 32 << false << "own" << QString() << true;
    QTest::newRow("P-384") << "p384" << 32 << false << "own" << QString() << true;
    QTest::newRow("no key usage") << "no-key-usage" << 32 << false << "own" << QString() << true;
    QTest::newRow("RSA 2047") << "rsa2047" << 32 << false << "own" << kWeakKey << false;
    QTest::newRow("P-224") << "p224" << 32 << false << "own" << kWeakKey << false;
    QTest::newRow("Ed25519") << "ed25519" << 32 << false << "own" << kWeakKey << false;
    QTest::newRow("key encipherment only") << "encipherment" << 32 << false << "own" << kKeyUsage << false;
    QTest::newRow("expired") << "expired" << 32 << false << "own" << kOutsideValidity << false;
    QTest::newRow("not yet valid") << "future" << 32 << false << "own" << kOutsideValidity << false;
    QTest::newRow("31-byte digest") << "rsa2048" << 31 << false << "own" << kInvalidInput << false;
    QTest::newRow("33-byte digest") << "rsa2048" << 33 << false << "own" << kInvalidInput << false;
    QTest::newRow("byte after the certificate") << "p256" << 32 << true << "own" << kInvalidInput << false;
    QTest::newRow("missing certificate") << "" << 32 << false << "own" << kInvalidInput << false;
    QTest::newRow("another key") << "rsa2048" << 32 << false << "other-key" << kMismatch << true;
    QTest::newRow("other bytes signed") << "p256" << 32 << false << "other-bytes" << kMismatch << true;
    QTest::newRow("no signature") << "p256" << 32 << false << "nothing" << kNoSignature << true;
    QTest::newRow("device's own sentence") << "p256" << 32 << false << "own-sentence" << kDeviceOwn << true;
}

void CmsSignatureTest::build()
{
    QFETCH(QString, name);
    QFETCH(int, digestBytes);
    QFETCH(bool, trailingByte);
    QFETCH(QString, device);
    QFETCH(QString, error);
    QFETCH(bool, asked);
    const TestCertificate signer = m_certificates.value(name);
    const QString otherKey = m_certificates.value("rsa2047").keyPath;
    int calls = 0;
    const TokenSignFunction sign = [&](const QByteArray& data, QString& deviceError) {
        ++calls;
        if (device == QLatin1String("nothing"))
            return QByteArray();
        if (device == QLatin1String("own-sentence")) {
            deviceError = kDeviceOwn;
            return QByteArray();
        }
        const QString key = device == QLatin1String("other-key") ? otherKey : signer.keyPath;
        return velk::test::signWithKey(key, device == QLatin1String("other-bytes") ? data + '\0' : data);
    };
    const QByteArray digest =
        QCryptographicHash::hash(kDocument, QCryptographicHash::Sha256).leftJustified(digestBytes, '\x01', true);
    QString message = QStringLiteral("stale");
    const QByteArray cms =
        CmsSignature::buildCmsSignature(digest, signer.der + QByteArray(trailingByte ? 1 : 0, '\0'), sign, message);
    QCOMPARE(message, error);
    QCOMPARE(calls, asked ? 1 : 0);
    QCOMPARE(cms.isEmpty(), !error.isEmpty());
    if (!error.isEmpty())
        return;

    const QString cmsPath = m_dir.filePath(name + QStringLiteral(".p7s"));
    const QString contentPath = m_dir.filePath(QStringLiteral("document.bin"));
    QVERIFY(velk::test::writeFile(cmsPath, cms) && velk::test::writeFile(contentPath, kDocument));
    QVERIFY2(m_pki->openssl({"cms", "-verify", "-binary", "-inform", "DER", "-in", cmsPath, "-content", contentPath,
                             "-CAfile", m_pki->root().certificatePath, "-out", "/dev/null"}),
             qPrintable(m_pki->error()));
    const velk::SignatureReport report =
        velk::CmsVerification::verifyCmsSignature(cms, kDocument, m_pki->root().certificatePath, true);
    QVERIFY(report.integrityValid);
    QVERIFY(report.chainTrusted);
    QVERIFY(report.declaredSigningTime.isEmpty());
}

void CmsSignatureTest::signedAttributes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("signatureNid");
    QTest::newRow("RSA") << "rsa2048" << int(NID_rsaEncryption);
    QTest::newRow("EC") << "p256" << int(NID_ecdsa_with_SHA256);
}

// Three attributes in DER order, no signing time, an ESS entry without a
// hash algorithm; only the signer's certificate; the key's algorithm.
void CmsSignatureTest::signedAttributes()
{
    QFETCH(QString, name);
    QFETCH(int, signatureNid);
    const TestCertificate signer = m_certificates.value(name);
    QString error;
    const QByteArray digest = QCryptographicHash::hash(kDocument, QCryptographicHash::Sha256);
    const QByteArray cms = CmsSignature::buildCmsSignature(
        digest, signer.der, [&](const QByteArray& data, QString&) { return velk::test::signWithKey(signer.keyPath, data); },
        error);
    QVERIFY2(!cms.isEmpty(), qPrintable(error));
    const velk::CmsContentInfoPtr parsed = parseCms(cms);
    QVERIFY(parsed);
    CMS_SignerInfo* signerInfo = signerInfoOf(parsed.get());
    QCOMPARE(CMS_signed_get_attr_count(signerInfo), 3);
    QList<int> nids;
    QList<QByteArray> encoded;
    for (int i = 0; i < 3; ++i) {
        X509_ATTRIBUTE* attribute = CMS_signed_get_attr(signerInfo, i);
        nids.append(OBJ_obj2nid(X509_ATTRIBUTE_get0_object(attribute)));
        unsigned char* der = nullptr;
        const int length = i2d_X509_ATTRIBUTE(attribute, &der);
        encoded.append(QByteArray(reinterpret_cast<const char*>(der), length));
        OPENSSL_free(der);
    }
    QCOMPARE(nids, (QList<int>{NID_pkcs9_contentType, NID_pkcs9_messageDigest,
                               NID_id_smime_aa_signingCertificateV2}));
    QVERIFY(std::is_sorted(encoded.cbegin(), encoded.cend()));
    QVERIFY(cms.contains(DerEncoding::derTlv(0xA0, encoded.join())));
    QCOMPARE(CMS_signed_get_attr_by_NID(signerInfo, NID_pkcs9_signingTime, -1), -1);
    QVERIFY(encoded.at(1).endsWith(QByteArray(QByteArray::fromHex("0420") + digest)));

    // ESSCertIDv2 { certHash, issuerSerial }: the default SHA-256 is not written.
    const QByteArray ess = encoded.at(2);
    const QByteArray certificateHash = QCryptographicHash::hash(signer.der, QCryptographicHash::Sha256);
    QVERIFY(ess.contains(QByteArray(QByteArray::fromHex("0420") + certificateHash)));
    QVERIFY(!ess.contains(QByteArray::fromHex("0609608648016503040201")));

    velk::X509StackPtr certificates(CMS_get1_certs(parsed.get()));
    QCOMPARE(sk_X509_num(certificates.get()), 1);
    X509_ALGOR* digestAlgorithm = nullptr;
    X509_ALGOR* signatureAlgorithm = nullptr;
    CMS_SignerInfo_get0_algs(signerInfo, nullptr, nullptr, &digestAlgorithm, &signatureAlgorithm);
    QCOMPARE(OBJ_obj2nid(digestAlgorithm->algorithm), int(NID_sha256));
    QCOMPARE(OBJ_obj2nid(signatureAlgorithm->algorithm), signatureNid);
    QCOMPARE(CMS_is_detached(parsed.get()), 1);

    // What OpenSSL re-encodes from the parse is what we wrote.
    unsigned char* der = nullptr;
    const int length = i2d_CMS_ContentInfo(parsed.get(), &der);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(der), length), cms);
    OPENSSL_free(der);
}

QTEST_GUILESS_MAIN(CmsSignatureTest)
#include "CmsSignatureTest.moc"
