// The token worker with drivers that behave as SoftHSM cannot: a PIN pad,
// a PIN at its final try or locked, a library or login already in place,
// wrong signature lengths, a failing search, unusable function lists, a
// hang, a crash and a driver that prints. The test module forwards to
// SoftHSM with one behaviour changed; OpenSC's logger records the calls.

#include "TokenTestBed.h"

#include "signing/TokenWorker/TokenWorkerMessages.h"
#include "signing/token/TokenClientMessages.h"

#include <QFile>
#include <QJsonArray>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

const QString kLabel = QStringLiteral("Velk Test");
const QStringList kUnwinding{"C_Logout", "C_CloseSession", "C_Finalize"};

QString sentence(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class DriverBehaviourTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TokenTestBed> m_bed;
    QMap<QString, QByteArray> m_der;
    QString m_slot;

    bool addPair(const QString& id, const QString& algorithm)
    {
        CertificateRequest request;
        request.name = QStringLiteral("driver-") + id;
        request.keyAlgorithm = algorithm;
        const TestCertificate certificate = m_bed->pki().issue(request, m_bed->pki().root());
        m_der.insert(id, certificate.der);
        return certificate.isValid() && m_bed->token().importKey(kLabel, certificate.keyPath, id)
            && m_bed->token().importCertificate(kLabel, certificate.der, id);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bed = std::make_unique<TokenTestBed>();
        QVERIFY(m_bed->isValid());
        QVERIFY(m_bed->token().initToken(kLabel));
        QVERIFY(addPair("01", "rsa:2048"));
        QVERIFY(addPair("02", "ec:prime256v1"));
        m_slot = TokenTestBed::slotOf(TokenTestBed::list(), "01");
        QVERIFY(!m_slot.isEmpty());
    }

    void cleanup()
    {
        TokenTestBed::spyOff();
        TokenTestBed::setBehaviour(QString());
    }

    void behaviours_data()
    {
        QTest::addColumn<QString>("behaviour");
        QTest::addColumn<QString>("id");          // empty: listing
        QTest::addColumn<QByteArray>("pin");
        QTest::addColumn<QString>("error");       // empty: "ok"
        QTest::addColumn<QStringList>("called");
        QTest::addColumn<QStringList>("notCalled");
        QTest::addColumn<QStringList>("tail");    // the last calls, in order

        const QByteArray pin(SoftHsmToken::kPin);
        const QString blocked = sentence(TokenWorkerMessages::kPinBlocked);
        QTest::newRow("plain signing") << "" << "01" << pin << "" << QStringList{"C_Login", "C_Sign"} << QStringList()
                                       << QStringList{"C_Sign"} + kUnwinding;
        QTest::newRow("PIN pad, empty frame") << "pinpad" << "01" << QByteArray() << "" << QStringList{"C_Login"}
                                              << QStringList() << kUnwinding;
        QTest::newRow("final try") << "finaltry" << "01" << pin << blocked << QStringList()
                                   << QStringList{"C_Login"} << QStringList{"C_CloseSession", "C_Finalize"};
        QTest::newRow("locked") << "locked" << "01" << pin << blocked << QStringList() << QStringList{"C_Login"}
                                << QStringList{"C_CloseSession", "C_Finalize"};
        QTest::newRow("already initialised") << "initialised" << "" << QByteArray() << ""
                                             << QStringList{"C_Initialize", "C_CloseSession"}
                                             << QStringList{"C_Finalize"} << QStringList();
        QTest::newRow("already logged in") << "loggedin" << "01" << pin << "" << QStringList{"C_Login", "C_Sign"}
                                           << QStringList{"C_Logout"}
                                           << QStringList{"C_Sign", "C_CloseSession", "C_Finalize"};
        QTest::newRow("ECDSA one byte short") << "ecshort" << "02" << pin << sentence(TokenWorkerMessages::kEcdsaLength)
                                              << QStringList() << QStringList() << QStringList{"C_Sign"} + kUnwinding;
        QTest::newRow("signature length 0") << "signzero" << "01" << pin << "PKCS#11 işlemi başarısız (0x0)."
                                            << QStringList() << QStringList() << QStringList{"C_Sign"} + kUnwinding;
        QTest::newRow("failing search end, signing")
            << "findfinal" << "01" << pin << sentence(TokenWorkerMessages::kKeyNotFound) << QStringList()
            << QStringList{"C_SignInit"} << QStringList{"C_FindObjectsFinal"} + kUnwinding;
    }

    void behaviours()
    {
        QFETCH(QString, behaviour);
        QFETCH(QString, id);
        QFETCH(QByteArray, pin);
        QFETCH(QString, error);
        QFETCH(QStringList, called);
        QFETCH(QStringList, notCalled);
        QFETCH(QStringList, tail);
        TokenTestBed::setBehaviour(behaviour);
        const QString module = m_bed->spyOn(SoftHsmToken::testModule());
        const QJsonObject request = id.isEmpty()
            ? TokenTestBed::listRequest(module)
            : TokenTestBed::signRequest(module, m_slot, id, m_der.value(id), "veri");
        const QJsonObject reply = TokenTestBed::run(request, pin);
        QCOMPARE(reply.value("error").toString(), error);
        QCOMPARE(reply.value("ok").toBool(), error.isEmpty());

        const QStringList calls = m_bed->spyCalls();
        for (const QString& call : called)
            QVERIFY2(calls.contains(call), qPrintable(call));
        for (const QString& call : notCalled)
            QVERIFY2(!calls.contains(call), qPrintable(call));
        QCOMPARE(calls.mid(calls.size() - tail.size()), tail);
    }

    void listingFlags_data()
    {
        QTest::addColumn<QString>("behaviour");
        QTest::addColumn<bool>("protectedPath");
        QTest::addColumn<bool>("pinWarning");
        QTest::newRow("PIN pad") << "pinpad" << true << false;
        QTest::newRow("final try") << "finaltry" << false << true;
        QTest::newRow("locked") << "locked" << false << true;
        QTest::newRow("printing driver") << "printf" << false << false;
    }

    // The flags reach the listing; a driver's output on standard output
    // leaves the reply intact.
    void listingFlags()
    {
        QFETCH(QString, behaviour);
        QFETCH(bool, protectedPath);
        QFETCH(bool, pinWarning);
        TokenTestBed::setBehaviour(behaviour);
        const QJsonObject listing = TokenTestBed::list(SoftHsmToken::testModule());
        QVERIFY2(listing.value("ok").toBool(), qPrintable(listing.value("error").toString()));
        const QJsonArray entries = listing.value("certificates").toArray();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).toObject().value("protectedPath").toBool(), protectedPath);
        QCOMPARE(entries.at(0).toObject().value("pinWarning").toBool(), pinWarning);
    }

    // A crash dump or a debugger attach could read the PIN: neither is
    // allowed by the time the driver runs.
    void driverRunsWithoutDumps()
    {
        const QString probe = m_bed->directory() + QStringLiteral("/probe.txt");
        qputenv("VELK_TEST_PKCS11_PROBE", QFile::encodeName(probe));
        TokenTestBed::setBehaviour(QStringLiteral("probe"));
        QVERIFY(TokenTestBed::list(SoftHsmToken::testModule()).value("ok").toBool());
        QFile file(probe);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("dumpable=0 core=0"));
    }

    void failingSearchListsNothing()
    {
        TokenTestBed::setBehaviour(QStringLiteral("findfinal"));
        QCOMPARE(TokenTestBed::list(SoftHsmToken::testModule()),
                 QJsonObject({{"ok", true}, {"certificates", QJsonArray()}}));
    }

    void brokenDrivers_data()
    {
        QTest::addColumn<QString>("behaviour");
        QTest::addColumn<QString>("error");
        const QString unusable = sentence(TokenWorkerMessages::kFunctionListUnusable);
        QTest::newRow("null entry") << "nullentry" << unusable;
        QTest::newRow("version 1") << "version1" << unusable;
        QTest::newRow("hang") << "hang" << sentence(TokenClientMessages::kLimitExceeded);
        QTest::newRow("crash") << "crash" << sentence(TokenClientMessages::kInvalidReply);
    }

    void brokenDrivers()
    {
        QFETCH(QString, behaviour);
        QFETCH(QString, error);
        TokenTestBed::setBehaviour(behaviour);
        TokenWorkerTimes times;
        times.runLimitMs = 1000;
        const QJsonObject reply =
            TokenTestBed::run(TokenTestBed::listRequest(SoftHsmToken::testModule()), QByteArray(), times);
        QCOMPARE(reply.value("error").toString(), error);
    }
};

QTEST_GUILESS_MAIN(DriverBehaviourTest)
#include "DriverBehaviourTest.moc"
