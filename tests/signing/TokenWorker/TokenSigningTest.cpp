// Signing through the real client and worker against SoftHSM, with OpenSC's
// call logger between them: RSA bytes equal OpenSSL's and pkcs11-tool's,
// EC signatures come back as DER that verifies, weak or foreign keys are
// refused after the login, an always-authenticate key gets its second
// login, and every failure names what went wrong.

#include "support/TestPaths.h"
#include "TokenTestBed.h"

#include "signing/TokenWorker/TokenWorkerMessages.h"
#include "signing/token/TokenSignFunction.h"

#include <QFile>
#include <QJsonArray>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kLabel = QStringLiteral("Velk Test");
const QString kSpareLabel = QStringLiteral("Velk Yedek");

QString sentence(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TokenSigningTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TokenTestBed> m_bed;
    QMap<QString, TestCertificate> m_certificates; // by id
    QString m_slot;
    QString m_spareSlot;
    QByteArray m_data = "imzalanacak öznitelikler";

    bool addPair(const QString& id, const QString& algorithm, bool alwaysAuthenticate = false,
                 const QString& label = kLabel)
    {
        CertificateRequest request;
        request.name = QStringLiteral("signer-") + label.right(1) + id;
        request.keyAlgorithm = algorithm;
        const TestCertificate certificate = m_bed->pki().issue(request, m_bed->pki().root());
        m_certificates.insert(label == kLabel ? id : QStringLiteral("spare") + id, certificate);
        return certificate.isValid() && m_bed->token().importKey(label, certificate.keyPath, id, alwaysAuthenticate)
            && m_bed->token().importCertificate(label, certificate.der, id);
    }

    QString dataPath()
    {
        const QString path = m_bed->directory() + QStringLiteral("/data.bin");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(m_data);
        return path;
    }

    QJsonObject sign(const QString& id, const QByteArray& pin = SoftHsmToken::kPin)
    {
        return TokenTestBed::run(TokenTestBed::signRequest(m_bed->spyOn(SoftHsmToken::softHsmModule()), m_slot, id,
                                                           m_certificates.value(id).der, m_data),
                                 pin);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bed = std::make_unique<TokenTestBed>();
        QVERIFY(m_bed->isValid());
        QVERIFY2(m_bed->token().initToken(kLabel), qPrintable(m_bed->token().error()));
        QVERIFY(m_bed->token().initToken(kSpareLabel));
        QVERIFY2(addPair("01", "rsa:2048"), qPrintable(m_bed->token().error()));
        QVERIFY(addPair("02", "ec:prime256v1"));
        QVERIFY(addPair("03", "ec:secp384r1"));
        QVERIFY(addPair("04", "ec:secp521r1"));
        QVERIFY(addPair("05", "rsa:1024"));
        QVERIFY(addPair("06", "ec:secp224r1"));
        QVERIFY(addPair("08", "rsa:2048", true));
        QVERIFY(addPair("01", "rsa:2048", false, kSpareLabel));

        // An Ed25519 certificate with an RSA key under its id.
        CertificateRequest ed25519;
        ed25519.name = QStringLiteral("ed25519");
        ed25519.keyAlgorithm = QStringLiteral("ed25519");
        m_certificates.insert("07", m_bed->pki().issue(ed25519, m_bed->pki().root()));
        QVERIFY(m_certificates.value("07").isValid());
        QVERIFY(m_bed->token().createCertificateObject(kLabel, m_certificates.value("07").der, QByteArray("\x07")));
        QVERIFY(m_bed->token().importKey(kLabel, m_certificates.value("01").keyPath, "07"));

        // Two keys under one certificate's id; a certificate with none.
        QVERIFY(addPair("09", "rsa:2048"));
        QVERIFY(m_bed->token().importKey(kLabel, m_certificates.value("01").keyPath, "09"));
        m_certificates.insert("0a", m_certificates.value("01"));
        QVERIFY(m_bed->token().importCertificate(kLabel, m_certificates.value("01").der, "0a"));

        const QJsonObject listing = TokenTestBed::list();
        for (const QJsonValue& entry : listing.value("certificates").toArray()) {
            const QString token = entry.toObject().value("token").toString();
            (token == kLabel ? m_slot : m_spareSlot) = entry.toObject().value("slot").toString();
        }
        QVERIFY(!m_slot.isEmpty());
        QVERIFY(!m_spareSlot.isEmpty());
    }

    void cleanup() { TokenTestBed::spyOff(); }

    // The closure signs the data's SHA-256 with RSA-PKCS on the DigestInfo:
    // the same bytes as OpenSSL with the key and as pkcs11-tool on the token.
    void rsaMatchesOpenSslAndPkcs11Tool()
    {
        const SigningIdentity identity{SoftHsmToken::softHsmModule(),
                                       SoftHsmToken::sha256Hex(SoftHsmToken::softHsmModule()), m_slot,
                                       QByteArray::fromHex("01"), m_certificates.value("01").der};
        const TokenSignFunction signer =
            TokenSigner::make(identity, {}, makeSecretBytes(QByteArray(SoftHsmToken::kPin)), applicationDirectory());
        QString error;
        const QByteArray signature = signer(m_data, error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(signature.size(), 256);

        QByteArray expected;
        QVERIFY(m_bed->pki().openssl({"dgst", "-sha256", "-sign", m_certificates.value("01").keyPath, dataPath()},
                                     &expected));
        QCOMPARE(signature, expected);

        const QString toolOutput = m_bed->directory() + QStringLiteral("/tool.sig");
        QVERIFY(m_bed->token().pkcs11Tool({"--token-label", kLabel, "--login", "--pin", SoftHsmToken::kPin, "--sign",
                                           "-m", "SHA256-RSA-PKCS", "--id", "01", "-i", dataPath(), "-o",
                                           toolOutput}));
        QFile tool(toolOutput);
        QVERIFY(tool.open(QIODevice::ReadOnly));
        QCOMPARE(signature, tool.readAll());
    }

    void ecdsaDerVerifies_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("fieldBytes");
        QTest::newRow("P-256") << "02" << 32;
        QTest::newRow("P-384") << "03" << 48;
        QTest::newRow("P-521") << "04" << 66;
    }

    void ecdsaDerVerifies()
    {
        QFETCH(QString, id);
        QFETCH(int, fieldBytes);
        const QJsonObject reply = sign(id);
        QVERIFY2(reply.value("ok").toBool(), qPrintable(reply.value("error").toString()));
        const QByteArray der = QByteArray::fromBase64(reply.value("signature").toString().toLatin1());
        // SEQUENCE of two INTEGERs, each at most the field size plus a sign byte.
        QCOMPARE(der.at(0), char(0x30));
        QVERIFY(der.size() <= 2 * (fieldBytes + 3) + 3);
        const QString signaturePath = m_bed->directory() + QStringLiteral("/ec.sig");
        QFile file(signaturePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(der);
        file.close();
        const QString publicKey = m_bed->directory() + QStringLiteral("/ec.pub");
        QVERIFY(m_bed->pki().openssl({"pkey", "-in", m_certificates.value(id).keyPath, "-pubout", "-out", publicKey}));
        QVERIFY(m_bed->pki().openssl({"dgst", "-sha256", "-verify", publicKey, "-signature", signaturePath,
                                      dataPath()}));
        // The device's raw r‖s was checked against the field size before
        // the conversion: one C_Sign, no retry.
        QCOMPARE(m_bed->spyCalls().count("C_Sign"), 1);
    }

    void alwaysAuthenticateLogsInAgain()
    {
        const QJsonObject reply = sign("08");
        QVERIFY2(reply.value("ok").toBool(), qPrintable(reply.value("error").toString()));
        const QStringList calls = m_bed->spyCalls();
        QCOMPARE(calls.count("C_Login"), 2);
        QVERIFY(calls.indexOf("C_Login", calls.indexOf("C_SignInit")) > calls.indexOf("C_SignInit"));
    }

    void refusedAfterLogin_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("error");
        const QString algorithm = sentence(TokenWorkerMessages::kAlgorithmInvalid);
        const QString key = sentence(TokenWorkerMessages::kKeyNotFound);
        QTest::newRow("RSA-1024") << "05" << algorithm;
        QTest::newRow("P-224") << "06" << algorithm;
        QTest::newRow("Ed25519 certificate") << "07" << algorithm;
        QTest::newRow("two keys") << "09" << key;
        QTest::newRow("no key") << "0a" << key;
        QTest::newRow("no such id") << "7f" << key;
    }

    void refusedAfterLogin()
    {
        QFETCH(QString, id);
        QFETCH(QString, error);
        const QJsonObject reply = sign(id);
        QCOMPARE(reply.value("error").toString(), error);
        const QStringList calls = m_bed->spyCalls();
        QVERIFY(calls.contains("C_Login"));
        QVERIFY(!calls.contains("C_SignInit"));
        QVERIFY(calls.contains("C_Logout"));
    }

    void refusedRequests_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("pin");
        QTest::addColumn<QString>("error");
        QTest::newRow("wrong certificate hash") << "certificateHash" << QString(64, '0') << QByteArray("1234")
                                                << sentence(TokenWorkerMessages::kKeyNotFound);
        QTest::newRow("digest of 31 bytes") << "digest" << QString(62, 'a') << QByteArray("1234")
                                            << sentence(TokenWorkerMessages::kAlgorithmInvalid);
        QTest::newRow("slot gone") << "slot" << "999999" << QByteArray("1234")
                                   << sentence(TokenWorkerMessages::kSlotGone);
        QTest::newRow("empty PIN") << "" << "" << QByteArray() << sentence(TokenWorkerMessages::kPinRequired);
    }

    void refusedRequests()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QByteArray, pin);
        QFETCH(QString, error);
        QJsonObject request = TokenTestBed::signRequest(SoftHsmToken::softHsmModule(), m_slot, "01",
                                                        m_certificates.value("01").der, m_data);
        if (!field.isEmpty())
            request.insert(field, value);
        QCOMPARE(TokenTestBed::run(request, pin).value("error").toString(), error);
    }

    // Last: a wrong PIN marks the spare token until its next good login.
    void wrongPinWarnsInTheNextListing()
    {
        const QJsonObject reply = TokenTestBed::run(
            TokenTestBed::signRequest(SoftHsmToken::softHsmModule(), m_spareSlot, "01",
                                      m_certificates.value("spare01").der, m_data),
            "0000");
        QCOMPARE(reply.value("error").toString(), sentence("PIN yanlış. Otomatik yeniden deneme yapılmadı."));
        bool warned = false;
        for (const QJsonValue& entry : TokenTestBed::list().value("certificates").toArray())
            if (entry.toObject().value("slot").toString() == m_spareSlot)
                warned = entry.toObject().value("pinWarning").toBool();
        QVERIFY(warned);
    }
};

QTEST_GUILESS_MAIN(TokenSigningTest)
#include "TokenSigningTest.moc"
