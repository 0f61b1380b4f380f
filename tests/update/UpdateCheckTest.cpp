// A check against a real channel: the signed description served over TLS
// on 127.0.0.1:443 in the test's private network, the floor in the real
// secure store. Every attack ends in its sentence with the sealed floor
// untouched and no package requested; an accepted release moves the floor;
// two checks at once never let the floor fall.

#include "PrivateNetwork.h"
#include "UpdateTestBed.h"
#include "update/UpdateMessages.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

using Attack = std::function<void(UpdateTestBed&, QJsonObject& payload)>;

QByteArray manifestHash(const QJsonObject& payload)
{
    return QCryptographicHash::hash(QJsonDocument(payload).toJson(QJsonDocument::Compact), QCryptographicHash::Sha256)
        .toHex();
}

QJsonObject floorRecord(qint64 sequence, qint64 highWater, const QByteArray& hash)
{
    return QJsonObject{{"v", 1},
                       {"sequence", double(sequence)},
                       {"highWater", double(highWater)},
                       {"manifestHash", QString::fromLatin1(hash)}};
}

Attack setField(const char* key, const QJsonValue& value)
{
    return [=](UpdateTestBed&, QJsonObject& payload) { payload.insert(QLatin1String(key), value); };
}

Attack answerWith(const ChannelAnswer& answer)
{
    return [=](UpdateTestBed& bed, QJsonObject&) { bed.channel().setAnswer(QLatin1String(kChannelPath), answer); };
}

} // namespace

Q_DECLARE_METATYPE(Attack)

class UpdateCheckTest : public QObject {
    Q_OBJECT

public:
    explicit UpdateCheckTest(const QString& networkError)
        : m_networkError(networkError)
    {
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void shippedAnchorIsUnconfigured();
    void acceptedReleaseMovesTheFloor();
    void installedVersionIsUpToDate();
    void attacks_data();
    void attacks();
    void floorNeverFalls();
    void cancelWhileReadingFloor();

private:
    QString m_networkError;
    std::unique_ptr<UpdateTestBed> m_bed;
    QJsonObject m_floorPayload;
};

void UpdateCheckTest::initTestCase()
{
    QVERIFY2(m_networkError.isEmpty(), qPrintable(m_networkError));
    m_bed = std::make_unique<UpdateTestBed>();
    QVERIFY2(m_bed->isValid(), qPrintable(m_bed->error()));
}

void UpdateCheckTest::init()
{
    m_bed->now = kTestNow;
    m_bed->channel().clear();
    QVERIFY(m_bed->clearFloor());
    // The floor of every attack row: release 7, confirmed a while ago.
    m_floorPayload = m_bed->payload(7);
}

void UpdateCheckTest::shippedAnchorIsUnconfigured()
{
    QTemporaryDir dataHome;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    UpdateService service;
    QVERIFY(!service.isConfigured());
    QCOMPARE(service.status(), QString::fromUtf8(UpdateMessages::kNotConfiguredStatus));
    service.check();
    QCOMPARE(service.state(), int(UpdateService::Failed));
    QCOMPARE(service.status(), QString::fromUtf8(UpdateMessages::kNotConfigured));
    QTest::qWait(100);
    qputenv("XDG_DATA_HOME", saved);
    // No store ran, no request went out.
    QVERIFY(QDir(dataHome.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(m_bed->channel().requests().isEmpty());
}

void UpdateCheckTest::acceptedReleaseMovesTheFloor()
{
    const QJsonObject payload = m_bed->payload(8);
    m_bed->serve(payload);
    auto service = m_bed->service();
    service->check();
    QVERIFY(UpdateTestBed::settle(*service));
    QCOMPARE(service->status(), QStringLiteral("0.5.4 sürümünün yayın imzası ve güvenli sıra kaydı doğrulandı. "
                                               "Kurulum paketi henüz indirilmedi."));
    QCOMPARE(service->state(), int(UpdateService::Available));
    QCOMPARE(m_bed->storedFloor(), floorRecord(8, kTestNow, manifestHash(payload)));
    QCOMPARE(m_bed->channel().requests(), QStringList{QStringLiteral("GET /channel.json")});
    QCOMPARE(m_bed->channel().userAgents(), QList<QByteArray>{"Velk-PDF/0.5.3"});

    // The same description later: only the time moves.
    m_bed->now += 3600;
    service->check();
    QVERIFY(UpdateTestBed::settle(*service));
    QCOMPARE(service->state(), int(UpdateService::Available));
    QCOMPARE(m_bed->storedFloor(), floorRecord(8, kTestNow + 3600, manifestHash(payload)));
}

void UpdateCheckTest::installedVersionIsUpToDate()
{
    QJsonObject payload = m_bed->payload(8);
    payload.insert(QStringLiteral("version"), QStringLiteral("0.5.3"));
    m_bed->serve(payload);
    auto service = m_bed->service();
    service->check();
    QVERIFY(UpdateTestBed::settle(*service));
    QCOMPARE(service->state(), int(UpdateService::UpToDate));
    QCOMPARE(service->status(), QString::fromUtf8(UpdateMessages::kUpToDate));
}

void UpdateCheckTest::attacks_data()
{
    QTest::addColumn<Attack>("attack");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("channelAsked");

    const QString rollback = QString::fromUtf8(UpdateMessages::kRollback);
    const QString window = QString::fromUtf8(UpdateMessages::kOutsideTimeWindow);
    const QString unsuitable = QString::fromUtf8(UpdateMessages::kReleaseUnsuitable);
    const QString signature = QString::fromUtf8(UpdateMessages::kSignatureInvalid);
    const QString notFetched = QString::fromUtf8(UpdateMessages::kDescriptionNotFetched);

    QTest::newRow("rollback to 6") << setField("sequence", 6) << rollback << true;
    QTest::newRow("sequence 7, other content") << Attack([](UpdateTestBed&, QJsonObject& p) {
        p.insert(QStringLiteral("sequence"), 7);
        p.insert(QStringLiteral("expires_at"), p.value(QStringLiteral("expires_at")).toDouble() + 1);
    }) << rollback << true;
    QTest::newRow("expired") << setField("expires_at", double(kTestNow)) << window << true;
    QTest::newRow("validity 604801 s") << Attack([](UpdateTestBed&, QJsonObject& p) {
        p.insert(QStringLiteral("expires_at"), p.value(QStringLiteral("issued_at")).toDouble() + 604801);
    }) << window << true;
    QTest::newRow("clock 8 days ahead") << Attack([](UpdateTestBed& bed, QJsonObject&) { bed.now += 8 * 86400; })
                                        << window << true;
    QTest::newRow("linux-arm64") << setField("platform", "linux-arm64") << unsuitable << true;
    QTest::newRow("version 0.5.2") << setField("version", "0.5.2") << unsuitable << true;
    QTest::newRow("package on another host")
        << setField("url", "https://127.0.0.1/pool/velk-pdf_0.5.4_amd64.deb")
        << QString::fromUtf8(UpdateMessages::kPackageAddressInvalid) << true;
    QTest::newRow("wrong key") << Attack([](UpdateTestBed& bed, QJsonObject& p) {
        static const ReleaseSigner other;
        bed.serve(p, &other);
    }) << signature << true;
    QTest::newRow("another release's signature") << Attack([](UpdateTestBed& bed, QJsonObject& p) {
        QJsonObject other = p;
        other.insert(QStringLiteral("sequence"), 9);
        QJsonObject envelope = QJsonDocument::fromJson(bed.envelope(p)).object();
        envelope.insert(QStringLiteral("signature"),
                        QJsonDocument::fromJson(bed.envelope(other)).object().value(QStringLiteral("signature")));
        ChannelAnswer answer;
        answer.body = QJsonDocument(envelope).toJson(QJsonDocument::Compact);
        bed.channel().setAnswer(QLatin1String(kChannelPath), answer);
    }) << signature << true;

    ChannelAnswer redirect;
    redirect.status = 302;
    redirect.headers = {{"Location", "https://localhost/elsewhere.json"}};
    QTest::newRow("redirect") << Attack([redirect](UpdateTestBed& bed, QJsonObject& p) {
        ChannelAnswer target;
        target.body = bed.envelope(p);
        bed.channel().setAnswer(QStringLiteral("/elsewhere.json"), target);
        bed.channel().setAnswer(QLatin1String(kChannelPath), redirect);
    }) << notFetched << true;
    ChannelAnswer missing;
    missing.status = 404;
    missing.body = "missing";
    QTest::newRow("404") << answerWith(missing) << notFetched << true;
    ChannelAnswer oversized;
    oversized.body = QByteArray(65537, ' ');
    oversized.pieceBytes = 16384;
    oversized.intervalMs = 5;
    QTest::newRow("65537 bytes") << answerWith(oversized) << notFetched << true;
    QTest::newRow("untrusted certificate") << Attack([](UpdateTestBed& bed, QJsonObject&) {
        bed.trustSystemOnly = true;
    }) << notFetched << false; // refused in the handshake, before any request
    QTest::newRow("stored v 2") << Attack([](UpdateTestBed& bed, QJsonObject&) {
        QJsonObject record = bed.storedFloor();
        record.insert(QStringLiteral("v"), 2);
        bed.storeFloor(record);
    }) << QString::fromUtf8(UpdateMessages::kFloorDamaged) << false;
    QTest::newRow("sequence 3, 10-character hash") << Attack([](UpdateTestBed& bed, QJsonObject&) {
        bed.storeFloor(floorRecord(3, bed.now - 10, "0123456789"));
    }) << QString::fromUtf8(UpdateMessages::kFloorDamaged) << false;
    // The sealed file itself damaged: the store's own sentence, and the
    // file is left as it is for the user to see to.
    QTest::newRow("sealed floor damaged") << Attack([](UpdateTestBed& bed, QJsonObject&) {
        QFile sealed(bed.store().recordPath(bed.account()));
        if (sealed.open(QIODevice::ReadWrite) && sealed.seek(sealed.size() - 1)) {
            const char last = sealed.peek(1).at(0);
            sealed.write(QByteArray(1, char(last ^ 0x55)));
        }
    }) << QStringLiteral("Güvenli kayıt açılamadı; başka bir hesaba ya da kullanıcıya ait veya bozulmuş.") << false;
    QTest::newRow("high water 1 s ahead") << Attack([](UpdateTestBed& bed, QJsonObject&) {
        QJsonObject record = bed.storedFloor();
        record.insert(QStringLiteral("highWater"), double(bed.now + 1));
        bed.storeFloor(record);
    }) << QString::fromUtf8(UpdateMessages::kClockBehind) << false;
}

void UpdateCheckTest::attacks()
{
    QFETCH(Attack, attack);
    QFETCH(QString, message);
    QFETCH(bool, channelAsked);
    QVERIFY(m_bed->storeFloor(floorRecord(7, kTestNow - 1000, manifestHash(m_floorPayload))));
    const QJsonObject plain = m_bed->payload(8);
    QJsonObject payload = plain;
    m_bed->serve(payload);
    attack(*m_bed, payload);
    if (payload != plain)
        m_bed->serve(payload);
    const QByteArray sealed = m_bed->sealedFloor();
    QVERIFY(!sealed.isEmpty());

    auto service = m_bed->service();
    m_bed->trustSystemOnly = false;
    service->check();
    QVERIFY(UpdateTestBed::settle(*service));
    QCOMPARE(service->status(), message);
    QCOMPARE(service->state(), int(UpdateService::Failed));
    QCOMPARE(m_bed->sealedFloor(), sealed);
    const QStringList requests = m_bed->channel().requests();
    QCOMPARE(requests, channelAsked ? QStringList{QStringLiteral("GET /channel.json")} : QStringList());
}

// Two checks at once through a slow store: the first request is served
// release 9, the second, slower, an older but still valid 8. Without the lock both would start
// from the same floor and the slower would write 8 over 9; with it the
// second waits for the first and then refuses 8.
void UpdateCheckTest::floorNeverFalls()
{
    ChannelAnswer newer;
    newer.body = m_bed->envelope(m_bed->payload(9));
    ChannelAnswer older;
    older.body = m_bed->envelope(m_bed->payload(8));
    older.pieceBytes = older.body.size() / 2 + 1;
    older.intervalMs = 300;
    m_bed->channel().setNextAnswer(QLatin1String(kChannelPath), newer);
    m_bed->channel().setNextAnswer(QLatin1String(kChannelPath), older);
    // A slow store widens the window between reading and writing the floor.
    qputenv("VELK_STAND_IN_MODE", "slow");
    qputenv("VELK_STAND_IN_DELAY_MS", "150");
    qputenv("VELK_STAND_IN_REAL_STORE", VELK_APP_DIR "/velk-secure-store");
    UpdateServiceSetup slowStore = m_bed->setup();
    slowStore.storeDirectory = QStringLiteral(VELK_STORE_STAND_IN_DIR);
    auto first = std::make_unique<UpdateService>(slowStore);
    auto second = std::make_unique<UpdateService>(slowStore);
    first->check();
    second->check();
    const bool settled = UpdateTestBed::settle(*first) && UpdateTestBed::settle(*second);
    qunsetenv("VELK_STAND_IN_MODE");
    QVERIFY(settled);
    // Whichever took the lock first was served 9; the other then refuses 8.
    const QList<int> states{first->state(), second->state()};
    QVERIFY(states.contains(UpdateService::Available) && states.contains(UpdateService::Failed));
    const UpdateService& refused = first->state() == UpdateService::Failed ? *first : *second;
    QCOMPARE(refused.status(), QString::fromUtf8(UpdateMessages::kRollback));
    QCOMPARE(m_bed->storedFloor().value(QStringLiteral("sequence")).toInteger(), 9);
}

// Cancelled while the other check holds the floor: the wait ends at once.
void UpdateCheckTest::cancelWhileReadingFloor()
{
    ChannelAnswer held;
    held.body = m_bed->envelope(m_bed->payload(8));
    held.stopAfter = 10;
    m_bed->channel().setAnswer(QLatin1String(kChannelPath), held);
    auto holder = m_bed->service();
    holder->check();
    QTRY_COMPARE(m_bed->channel().requests().size(), 1);
    auto waiting = m_bed->service();
    waiting->check();
    QTest::qWait(200);
    QCOMPARE(waiting->state(), int(UpdateService::Checking));
    waiting->cancel();
    QVERIFY(UpdateTestBed::settle(*waiting, 2000));
    QCOMPARE(waiting->status(), QString::fromUtf8(UpdateMessages::kCancelled));
    holder->cancel();
    QVERIFY(UpdateTestBed::settle(*holder, 2000));
    QCOMPARE(holder->status(), QString::fromUtf8(UpdateMessages::kDescriptionNotFetched));
    QCOMPARE(m_bed->channel().requests().size(), 1);
}

int main(int argc, char** argv)
{
    // Before any thread exists.
    const QString networkError = enterPrivateNetwork();
    QCoreApplication application(argc, argv);
    UpdateCheckTest test(networkError);
    return QTest::qExec(&test, argc, argv);
}

#include "UpdateCheckTest.moc"
