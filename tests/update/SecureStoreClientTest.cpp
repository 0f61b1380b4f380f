// The secure-store client: round trips through the real store in a
// private data home, and every way a store can misbehave through a
// stand-in program.

#include "workers/store/StoreHome.h"
#include "support/TestPaths.h"
#include "update/SecureStoreClient.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

#include <csignal>
#include <thread>

using namespace velk;

namespace {

const char* const kInvalidReply = "Güvenli depo geçersiz yanıt verdi.";
const char* const kNoAnswer = "Güvenli depo yanıt vermedi veya işlem iptal edildi. Düz metin kayıt yapılmadı.";
const QString kAccount = QStringLiteral("test-update-client");

QJsonObject floorRecord(qint64 sequence)
{
    return QJsonObject{{"v", 1},
                       {"sequence", double(sequence)},
                       {"highWater", 1700000000.0},
                       {"manifestHash", QString(64, QLatin1Char('c'))}};
}

QJsonObject request(const char* operation, const QString& account = kAccount)
{
    return QJsonObject{{"operation", QLatin1String(operation)}, {"account", account}};
}

CancelFlag freshFlag()
{
    return std::make_shared<std::atomic<bool>>(false);
}

} // namespace

class SecureStoreClientTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void writesAndReadsBack();
    void refusalCarriesStoreSentence();
    void damagedRecordIsReportedAndKept();
    void refusedBeforeStarting_data();
    void refusedBeforeStarting();
    void missingProgram();
    void standInReplies_data();
    void standInReplies();
    void cancelWhileStoreSleeps();
    void timeLimitStopsStore();

private:
    SecureStoreResult runReal(QJsonObject request);
    SecureStoreResult runStandIn(const QByteArray& mode, QJsonObject request, const CancelFlag& flag,
                                 const SecureStoreTimes& times = {});
    bool standInAlive() const;

    test::StoreHome m_home;
    QTemporaryDir m_scratch;
};

void SecureStoreClientTest::initTestCase()
{
    QVERIFY(m_home.isValid() && m_scratch.isValid());
    // Inherited by every store the client starts.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.dataHome()));
    qputenv("VELK_STAND_IN_PIDFILE", QFile::encodeName(m_scratch.filePath(QStringLiteral("pid"))));
}

void SecureStoreClientTest::init()
{
    QDir(m_home.dataHome()).removeRecursively();
    QDir().mkpath(m_home.dataHome());
    QFile::remove(m_scratch.filePath(QStringLiteral("pid")));
}

SecureStoreResult SecureStoreClientTest::runReal(QJsonObject request)
{
    return runSecureStore(request, freshFlag(), test::applicationDirectory());
}

SecureStoreResult SecureStoreClientTest::runStandIn(const QByteArray& mode, QJsonObject request,
                                                    const CancelFlag& flag, const SecureStoreTimes& times)
{
    qputenv("VELK_STAND_IN_MODE", mode);
    return runSecureStore(request, flag, QStringLiteral(VELK_STORE_STAND_IN_DIR), times);
}

bool SecureStoreClientTest::standInAlive() const
{
    QFile file(m_scratch.filePath(QStringLiteral("pid")));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const pid_t pid = pid_t(file.readAll().toInt());
    return pid > 0 && ::kill(pid, 0) == 0;
}

void SecureStoreClientTest::writesAndReadsBack()
{
    SecureStoreResult read = runReal(request("read"));
    QVERIFY2(read.ok, qPrintable(read.error));
    QVERIFY(!read.found);
    QVERIFY(read.record.isEmpty());

    QJsonObject write = request("write");
    write.insert(QStringLiteral("record"), floorRecord(7));
    QJsonObject sent = write;
    const SecureStoreResult written = runSecureStore(sent, freshFlag(), test::applicationDirectory());
    QVERIFY2(written.ok, qPrintable(written.error));
    QVERIFY(written.error.isEmpty());
    // The client keeps no serialisable copy of what it sent.
    QVERIFY(sent.isEmpty());

    read = runReal(request("read"));
    QVERIFY2(read.ok, qPrintable(read.error));
    QVERIFY(read.found);
    QCOMPARE(read.record, floorRecord(7));
    // Sealed on disk: the record's text is not there.
    QFile sealed(m_home.recordPath(kAccount));
    QVERIFY(sealed.open(QIODevice::ReadOnly));
    QVERIFY(!sealed.readAll().contains("manifestHash"));

    const SecureStoreResult cleared = runReal(request("clear"));
    QVERIFY(cleared.ok);
    read = runReal(request("read"));
    QVERIFY(read.ok && !read.found);
}

void SecureStoreClientTest::refusalCarriesStoreSentence()
{
    const SecureStoreResult result = runReal(request("read", QStringLiteral("Velk-HW-ab12-CD34")));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QStringLiteral("Güvenli depo isteği geçersiz."));
    QJsonObject write = request("write");
    write.insert(QStringLiteral("record"), QStringLiteral("not an object"));
    QCOMPARE(runReal(write).error, QStringLiteral("Güvenli kayıt biçimi geçersiz."));
}

void SecureStoreClientTest::damagedRecordIsReportedAndKept()
{
    QJsonObject write = request("write");
    write.insert(QStringLiteral("record"), floorRecord(3));
    QVERIFY(runReal(write).ok);
    QFile file(m_home.recordPath(kAccount));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x40);
    QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
    file.close();

    const SecureStoreResult read = runReal(request("read"));
    QVERIFY(!read.ok && !read.found);
    QCOMPARE(read.error, QStringLiteral("Güvenli kayıt açılamadı; başka bir hesaba ya da kullanıcıya ait veya bozulmuş."));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void SecureStoreClientTest::refusedBeforeStarting_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<int>("recordBytes");
    QTest::addColumn<QString>("error");

    QTest::newRow("flag already set") << true << 10 << QStringLiteral("İşlem iptal edildi.");
    QTest::newRow("request above 32768 bytes") << false << 32768 << QStringLiteral("Güvenli kayıt sınırı aşıldı.");
}

void SecureStoreClientTest::refusedBeforeStarting()
{
    QFETCH(bool, cancelled);
    QFETCH(int, recordBytes);
    QFETCH(QString, error);
    QJsonObject write = request("write");
    write.insert(QStringLiteral("record"), QJsonObject{{"pad", QString(recordBytes, QLatin1Char('x'))}});
    const CancelFlag flag = freshFlag();
    flag->store(cancelled);
    for (const QString& directory : {test::applicationDirectory(), QStringLiteral(VELK_STORE_STAND_IN_DIR)}) {
        QJsonObject copy = write;
        qputenv("VELK_STAND_IN_MODE", "echo");
        const SecureStoreResult result = runSecureStore(copy, flag, directory);
        QVERIFY(!result.ok);
        QCOMPARE(result.error, error);
        QVERIFY(copy.isEmpty() || cancelled);
    }
    // Nothing ran: no store directory, no stand-in.
    QVERIFY(!QFile::exists(m_home.storeDirectory()));
    QVERIFY(!QFile::exists(m_scratch.filePath(QStringLiteral("pid"))));
}

void SecureStoreClientTest::missingProgram()
{
    QJsonObject read = request("read");
    const SecureStoreResult result = runSecureStore(read, freshFlag(), m_scratch.path());
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QStringLiteral("Güvenli depo başlatılamadı."));
}

void SecureStoreClientTest::standInReplies_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("error");

    const QString invalid = QString::fromUtf8(kInvalidReply);
    QTest::newRow("ok with exit 3") << QByteArray("okexit3") << false << invalid;
    QTest::newRow("failure without error") << QByteArray("failnoerror") << false << invalid;
    QTest::newRow("failure with empty error") << QByteArray("failemptyerror") << false << invalid;
    QTest::newRow("failure with sentence") << QByteArray("fail") << false
                                           << QStringLiteral("Güvenli kayıt dosyası okunamadı.");
    QTest::newRow("ok as text") << QByteArray("oktext") << false << invalid;
    QTest::newRow("crash after answering") << QByteArray("crash") << false << invalid;
    QTest::newRow("not JSON") << QByteArray("notjson") << false << invalid;
    QTest::newRow("JSON array") << QByteArray("array") << false << invalid;
    QTest::newRow("exit without answer") << QByteArray("none") << false << invalid;
    QTest::newRow("65536 bytes") << QByteArray("max") << true << QString();
    QTest::newRow("65537 bytes") << QByteArray("flood") << false << QString::fromUtf8(kNoAnswer);
    QTest::newRow("standard error flood") << QByteArray("noisy") << true << QString();
}

void SecureStoreClientTest::standInReplies()
{
    QFETCH(QByteArray, mode);
    QFETCH(bool, ok);
    QFETCH(QString, error);
    const SecureStoreResult result = runStandIn(mode, request("read"), freshFlag());
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.error, error);
    QVERIFY(!result.found);
    QVERIFY(!standInAlive());
}

void SecureStoreClientTest::cancelWhileStoreSleeps()
{
    const CancelFlag flag = freshFlag();
    std::thread canceller([flag] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        flag->store(true);
    });
    QElapsedTimer elapsed;
    elapsed.start();
    const SecureStoreResult result = runStandIn("sleep", request("read"), flag);
    canceller.join();
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QString::fromUtf8(kNoAnswer));
    QVERIFY(elapsed.elapsed() < 10000);
    QVERIFY(!standInAlive());

    // Also once the request is in and the answer written, but the store
    // has not ended.
    const CancelFlag second = freshFlag();
    std::thread late([second] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        second->store(true);
    });
    const SecureStoreResult answered = runStandIn("answerthensleep", request("read"), second);
    late.join();
    QCOMPARE(answered.error, QString::fromUtf8(kNoAnswer));
    QVERIFY(!standInAlive());
}

void SecureStoreClientTest::timeLimitStopsStore()
{
    SecureStoreTimes times;
    times.runLimitMs = 300;
    const SecureStoreResult result = runStandIn("sleep", request("read"), freshFlag(), times);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QString::fromUtf8(kNoAnswer));
    QVERIFY(!standInAlive());
}

QTEST_GUILESS_MAIN(SecureStoreClientTest)
#include "SecureStoreClientTest.moc"
