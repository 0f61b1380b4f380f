// The certificate listing through the real client and worker against
// SoftHSM: names as the user sees them, the token label in UTF-8, entries
// that cannot be used left out, an uninitialised token skipped, the slot
// limit at its edge, and OpenSC with no reader.

#include "TokenTestBed.h"

#include "signing/TokenWorker/TokenWorkerMessages.h"

#include <QFile>
#include <QJsonArray>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kLabel = QStringLiteral("İmza Kartı");

QJsonObject entryWithId(const QJsonObject& listing, const QString& id)
{
    for (const QJsonValue& entry : listing.value("certificates").toArray())
        if (entry.toObject().value("id").toString() == id)
            return entry.toObject();
    return {};
}

} // namespace

class TokenListingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TokenTestBed> m_bed;
    QMap<QString, QByteArray> m_der;

    bool addCertificate(const QString& id, const QString& subject)
    {
        const TestCertificate certificate = m_bed->selfSigned(QStringLiteral("listed-") + id, subject);
        m_der.insert(id, certificate.der);
        return certificate.isValid() && m_bed->token().importCertificate(kLabel, certificate.der, id);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bed = std::make_unique<TokenTestBed>();
        QVERIFY(m_bed->isValid());
        QVERIFY2(m_bed->token().initToken(kLabel), qPrintable(m_bed->token().error()));
        QVERIFY(addCertificate("01", "/C=TR/O=Velk/CN=Çağrı Işıkoğlu"));
        QVERIFY(addCertificate("02", "/C=TR/O=Güneş Bilişim A.Ş."));
        QVERIFY(addCertificate("03", "/C=TR/L=İzmir"));
        QVERIFY(m_bed->token().createCertificateObject(kLabel, QByteArray("\x30\x03\x02\x01", 4), "\x04"));
        QVERIFY(m_bed->token().createCertificateObject(kLabel, m_der.value("01"), QByteArray()));
    }

    void names_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("subject");
        QTest::newRow("UTF-8 common name") << "01" << "Çağrı Işıkoğlu";
        QTest::newRow("organisation only") << "02" << "Güneş Bilişim A.Ş.";
        QTest::newRow("neither") << "03" << "İmzacı";
    }

    void names()
    {
        QFETCH(QString, id);
        QFETCH(QString, subject);
        const QJsonObject listing = TokenTestBed::list();
        QCOMPARE(listing.value("ok").toBool(), true);
        const QJsonObject entry = entryWithId(listing, id);
        QCOMPARE(entry.value("subject").toString(), subject);
        QCOMPARE(entry.value("token").toString(), kLabel);
        QCOMPARE(QByteArray::fromBase64(entry.value("certificate").toString().toLatin1()), m_der.value(id));
        QCOMPARE(entry.value("protectedPath").toBool(true), false);
        QCOMPARE(entry.value("pinWarning").toBool(true), false);
        bool decimal = false;
        entry.value("slot").toString().toULongLong(&decimal);
        QVERIFY(decimal);
    }

    // Unparsable DER and an empty CKA_ID are left out; the token's spare
    // uninitialised slot does not fail the listing.
    void onlyUsableEntries_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("list") << "list";
        QTest::newRow("sign in capitals") << "SIGN";
        QTest::newRow("none") << "";
    }

    void onlyUsableEntries()
    {
        QFETCH(QString, operation);
        QJsonObject request = TokenTestBed::listRequest(SoftHsmToken::softHsmModule());
        if (operation.isEmpty())
            request.remove("operation");
        else
            request.insert("operation", operation);
        const QJsonObject listing = TokenTestBed::run(request);
        QCOMPARE(listing.value("ok").toBool(), true);
        QStringList ids;
        for (const QJsonValue& entry : listing.value("certificates").toArray())
            ids << entry.toObject().value("id").toString();
        ids.sort(); // the driver's order
        QCOMPARE(ids, QStringList({"01", "02", "03"}));
    }

    // SoftHSM's spare uninitialised token cannot be opened (0xe1), as a
    // blank card in a second reader: it is passed over, and its failure is
    // the answer only when no token could be read at all.
    void unreadableSlotSkipped()
    {
        const QString module = m_bed->spyOn(SoftHsmToken::softHsmModule());
        const QJsonObject listing = TokenTestBed::list(module);
        TokenTestBed::spyOff();
        QCOMPARE(listing.value("certificates").toArray().size(), 3);
        const QStringList calls = m_bed->spyCalls();
        QCOMPARE(calls.count("C_OpenSession"), 2);
        QCOMPARE(calls.count("C_CloseSession"), 1);

        SoftHsmToken empty(m_bed->directory() + QStringLiteral("/empty"));
        QCOMPARE(TokenTestBed::list().value("error").toString(), QStringLiteral("PKCS#11 işlemi başarısız (0xe1)."));
        qputenv("SOFTHSM2_CONF", QFile::encodeName(m_bed->token().configPath()));
    }

    void slotLimit()
    {
        // SoftHSM always adds one uninitialised slot: 63 tokens make 64
        // slots, 64 make 65.
        const QString store = m_bed->directory() + QStringLiteral("/many");
        SoftHsmToken many(store);
        for (int i = 1; i <= 63; ++i)
            QVERIFY2(many.initToken(QStringLiteral("T%1").arg(i)), qPrintable(many.error()));
        QCOMPARE(TokenTestBed::list(), QJsonObject({{"ok", true}, {"certificates", QJsonArray()}}));
        QVERIFY(many.initToken(QStringLiteral("T64")));
        QCOMPARE(TokenTestBed::list().value("error").toString(), QStringLiteral("PKCS#11 işlemi başarısız (0x0)."));
        m_bed = std::make_unique<TokenTestBed>(); // other tests keep their own store
    }

    void openScWithoutReader()
    {
        const QString openSc = QStringLiteral("/usr/lib/x86_64-linux-gnu/pkcs11/opensc-pkcs11.so");
        QCOMPARE(TokenTestBed::list(openSc).value("error").toString(),
                 QString::fromUtf8(TokenWorkerMessages::kNoToken));
    }
};

QTEST_GUILESS_MAIN(TokenListingTest)
#include "TokenListingTest.moc"
