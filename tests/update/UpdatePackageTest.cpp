// The package: downloaded from the channel into an unnamed file that takes
// its name only when every byte arrived and the digest matched, checked
// again as a file, and re-verified with its description before the
// desktop is asked to open it. Every failure leaves the package folder
// empty (hidden entries too) and opens nothing.

#include "PrivateNetwork.h"
#include "UpdateTestBed.h"
#include "update/InstallerHandOff.h"
#include "update/PackageDownload.h"
#include "update/UpdateMessages.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace velk;
using namespace velk::test;

namespace {

enum class Fault { Longer, Shorter, ByteChanged, Redirect, Cancel, Destroy, WrongFormat };

QString sentence(const char* text)
{
    return QString::fromUtf8(text);
}

// The prompts of the hand-off, answered by the test; the opener records
// what it was given and the digest of the file at that moment.
struct ScriptedHandOff {
    bool answerYes = true;
    bool openSucceeds = true;
    QStringList warnings;
    int questions = 0;
    QList<QUrl> opened;
    QList<QByteArray> openedDigests;

    UpdatePrompts prompts()
    {
        UpdatePrompts prompts;
        prompts.warning = [this](QWidget*, const QString& title, const QString& text) {
            warnings.append(title + QStringLiteral(": ") + text);
        };
        prompts.question = [this](QWidget*, const QString&, const QString&) {
            ++questions;
            return answerYes;
        };
        prompts.openUrl = [this](const QUrl& url) {
            opened.append(url);
            QFile file(url.toLocalFile());
            openedDigests.append(file.open(QIODevice::ReadOnly)
                                     ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                                     : QByteArray());
            return openSucceeds;
        };
        return prompts;
    }
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class UpdatePackageTest : public QObject {
    Q_OBJECT

public:
    explicit UpdatePackageTest(const QString& networkError)
        : m_networkError(networkError)
    {
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void goodDownloadIsVerified();
    void dripUnderStallLimitFinishes();
    void downloadFailures_data();
    void downloadFailures();
    void timeLimitGrowsWithSize_data();
    void timeLimitGrowsWithSize();
    void afterDownloadChecks_data();
    void afterDownloadChecks();
    void declineOpensNothing();
    void openerGetsTheVerifiedFile();
    void openerFailureWarns();
    void developerTool_data();
    void developerTool();

private:
    std::unique_ptr<UpdateService> available(const QJsonObject& payload);
    std::unique_ptr<UpdateService> downloaded();

    QString m_networkError;
    std::unique_ptr<UpdateTestBed> m_bed;
};

void UpdatePackageTest::initTestCase()
{
    QVERIFY2(m_networkError.isEmpty(), qPrintable(m_networkError));
    m_bed = std::make_unique<UpdateTestBed>();
    QVERIFY2(m_bed->isValid(), qPrintable(m_bed->error()));
}

void UpdatePackageTest::init()
{
    m_bed->now = kTestNow;
    m_bed->channel().clear();
    m_bed->clearPackages();
    QVERIFY(m_bed->clearFloor());
}

std::unique_ptr<UpdateService> UpdatePackageTest::available(const QJsonObject& payload)
{
    m_bed->serve(payload);
    auto service = m_bed->service();
    service->check();
    if (!UpdateTestBed::settle(*service) || service->state() != UpdateService::Available)
        return nullptr;
    return service;
}

std::unique_ptr<UpdateService> UpdatePackageTest::downloaded()
{
    auto service = available(m_bed->payload());
    if (!service)
        return nullptr;
    service->download();
    if (!UpdateTestBed::settle(*service) || service->state() != UpdateService::Downloaded)
        return nullptr;
    return service;
}

// The whole body arrives in one piece together with the end of the
// transfer: nothing of its tail may be lost.
void UpdatePackageTest::goodDownloadIsVerified()
{
    auto service = downloaded();
    QVERIFY(service);
    QCOMPARE(service->status(), sentence(UpdateMessages::kPackageVerified));
    const QFileInfo package(service->packagePath());
    QCOMPARE(package.absolutePath(), QFileInfo(m_bed->packageDirectory()).absoluteFilePath());
    const QRegularExpression name(QStringLiteral("^velk-pdf-update-Velk-HW-[A-Z0-9]{4}-[A-Z0-9]{4}-[0-9a-f]{32}\\.deb$"));
    QVERIFY2(name.match(package.fileName()).hasMatch(), qPrintable(package.fileName()));
    QCOMPARE(m_bed->packageEntries(), QStringList{package.fileName()});
    QVERIFY(runQuietly(QStringLiteral("dpkg-deb"), {QStringLiteral("--info"), package.filePath()}));
    QCOMPARE(m_bed->channel().requests(),
             (QStringList{QStringLiteral("GET /channel.json"), QStringLiteral("GET ") + QLatin1String(kPackagePath)}));
}

// Pieces far apart in all, each well inside the stall limit.
void UpdatePackageTest::dripUnderStallLimitFinishes()
{
    auto service = available(m_bed->payload());
    QVERIFY(service);
    ChannelAnswer drip;
    drip.body = m_bed->package();
    drip.pieceBytes = drip.body.size() / 8 + 1;
    drip.intervalMs = 150;
    m_bed->channel().setAnswer(QLatin1String(kPackagePath), drip);
    QList<qint64> received;
    connect(service.get(), &UpdateService::progress, this, [&](qint64 bytes, qint64) { received.append(bytes); });
    service->download();
    QVERIFY(UpdateTestBed::settle(*service));
    QCOMPARE(service->state(), int(UpdateService::Downloaded));
    QVERIFY(received.size() >= 4);
    QCOMPARE(received.last(), qint64(m_bed->package().size()));
}

void UpdatePackageTest::downloadFailures_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("message");

    const QString failed = sentence(UpdateMessages::kDownloadFailed);
    QTest::newRow("size + 1") << Fault::Longer << failed;
    QTest::newRow("size - 1") << Fault::Shorter << failed;
    QTest::newRow("one byte changed") << Fault::ByteChanged << failed;
    QTest::newRow("redirect") << Fault::Redirect << failed;
    QTest::newRow("cancel") << Fault::Cancel << failed;
    QTest::newRow("service destroyed") << Fault::Destroy << QString();
    QTest::newRow("MZ with its digest") << Fault::WrongFormat << sentence(UpdateMessages::kPackageFormat);
}

void UpdatePackageTest::downloadFailures()
{
    QFETCH(Fault, fault);
    QFETCH(QString, message);
    QJsonObject payload = m_bed->payload();
    QByteArray body = m_bed->package();
    if (fault == Fault::WrongFormat) {
        body = "MZ" + QByteArray(5000, 'x');
        payload.insert(QStringLiteral("size"), double(body.size()));
        payload.insert(QStringLiteral("sha256"),
                       QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex()));
    }
    auto service = available(payload);
    QVERIFY(service);
    ChannelAnswer answer;
    answer.body = body;
    switch (fault) {
    case Fault::Longer:
        answer.body += 'x';
        answer.pieceBytes = 65536;
        answer.intervalMs = 20;
        break;
    case Fault::Shorter:
        answer.body.chop(1);
        break;
    case Fault::ByteChanged:
        answer.body[answer.body.size() / 2] = char(answer.body.at(answer.body.size() / 2) ^ 1);
        break;
    case Fault::Redirect: {
        answer.status = 302;
        answer.headers = {{"Location", "https://localhost/pool/other.deb"}};
        ChannelAnswer target;
        target.body = body;
        m_bed->channel().setAnswer(QStringLiteral("/pool/other.deb"), target);
        break;
    }
    case Fault::Cancel:
    case Fault::Destroy:
        answer.stopAfter = body.size() / 2;
        answer.pieceBytes = 16384;
        answer.intervalMs = 10;
        break;
    case Fault::WrongFormat:
        break;
    }
    m_bed->channel().setAnswer(QLatin1String(kPackagePath), answer);
    bool halfway = false;
    connect(service.get(), &UpdateService::progress, this, [&](qint64 bytes, qint64) { halfway = bytes > 0; });
    service->download();
    if (fault == Fault::Cancel || fault == Fault::Destroy) {
        QTRY_VERIFY(halfway);
        if (fault == Fault::Destroy)
            service.reset();
        else
            service->cancel();
    }
    if (service) {
        QVERIFY(UpdateTestBed::settle(*service));
        QCOMPARE(service->status(), message);
        QCOMPARE(service->state(), int(UpdateService::Failed));
    }
    QTest::qWait(50);
    QCOMPARE(m_bed->packageEntries(), QStringList());
    QVERIFY(!m_bed->channel().requests().contains(QStringLiteral("GET /pool/other.deb")));
}

void UpdatePackageTest::timeLimitGrowsWithSize_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("limitMs");

    QTest::newRow("one byte") << qint64(1) << 120000;
    QTest::newRow("10 x 256 KiB") << qint64(10 * 262144) << 130000;
    QTest::newRow("100 MB") << qint64(100000000) << 501000;
    QTest::newRow("512 MiB") << qint64(536870912) << 2168000;
    QTest::newRow("beyond any package") << qint64(4) * 1024 * 1024 * 1024 << 3600000;
}

void UpdatePackageTest::timeLimitGrowsWithSize()
{
    QFETCH(qint64, size);
    QFETCH(int, limitMs);
    QCOMPARE(PackageDownload::timeLimitMs(size), limitMs);
}

void UpdatePackageTest::afterDownloadChecks_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("message");

    QTest::newRow("a byte changed") << 0 << sentence(UpdateMessages::kPackageDigest);
    QTest::newRow("file cut") << 1 << sentence(UpdateMessages::kPackageSize);
    QTest::newRow("file deleted") << 2 << sentence(UpdateMessages::kPackageOpenFailed);
    QTest::newRow("description expired") << 3 << sentence(UpdateMessages::kOutsideTimeWindow);
}

void UpdatePackageTest::afterDownloadChecks()
{
    QFETCH(int, change);
    QFETCH(QString, message);
    auto service = downloaded();
    QVERIFY(service);
    QFile package(service->packagePath());
    if (change == 0) {
        QVERIFY(package.open(QIODevice::ReadWrite));
        package.seek(100);
        package.write("?");
        package.close();
    } else if (change == 1) {
        QVERIFY(package.resize(package.size() - 1));
    } else if (change == 2) {
        QVERIFY(package.remove());
    } else {
        m_bed->now += 86400;
    }
    ScriptedHandOff handOff;
    QLabel status;
    openVerifiedInstaller(*service, nullptr, &status, handOff.prompts());
    QCOMPARE(handOff.warnings, QStringList{QStringLiteral("Yükleyici açılmadı: ") + message});
    QCOMPARE(handOff.questions, 0);
    QVERIFY(handOff.opened.isEmpty());
    QCOMPARE(service->state(), int(UpdateService::Downloaded));
}

void UpdatePackageTest::declineOpensNothing()
{
    auto service = downloaded();
    QVERIFY(service);
    ScriptedHandOff handOff;
    handOff.answerYes = false;
    QLabel status;
    openVerifiedInstaller(*service, nullptr, &status, handOff.prompts());
    QCOMPARE(handOff.questions, 1);
    QVERIFY(handOff.opened.isEmpty() && handOff.warnings.isEmpty());
    QVERIFY(status.text().isEmpty());
    QCOMPARE(service->state(), int(UpdateService::Downloaded));
}

void UpdatePackageTest::openerGetsTheVerifiedFile()
{
    auto service = downloaded();
    QVERIFY(service);
    ScriptedHandOff handOff;
    QLabel status;
    openVerifiedInstaller(*service, nullptr, &status, handOff.prompts());
    QCOMPARE(handOff.opened, QList<QUrl>{QUrl::fromLocalFile(service->packagePath())});
    QCOMPARE(handOff.openedDigests,
             QList<QByteArray>{QCryptographicHash::hash(m_bed->package(), QCryptographicHash::Sha256).toHex()});
    QVERIFY(handOff.warnings.isEmpty());
    QCOMPARE(status.text(), sentence(UpdateMessages::kInstallerRequested));
    QCOMPARE(service->state(), int(UpdateService::Downloaded));
}

void UpdatePackageTest::openerFailureWarns()
{
    auto service = downloaded();
    QVERIFY(service);
    ScriptedHandOff handOff;
    handOff.openSucceeds = false;
    QLabel status;
    openVerifiedInstaller(*service, nullptr, &status, handOff.prompts());
    QCOMPARE(handOff.opened.size(), 1);
    QCOMPARE(handOff.warnings, QStringList{QStringLiteral("Kurulum: ") + sentence(UpdateMessages::kInstallerFailed)});
    QVERIFY(status.text().isEmpty());
}

void UpdatePackageTest::developerTool_data()
{
    QTest::addColumn<bool>("rightKey");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("state");

    QTest::newRow("check") << true << QStringList() << 0 << int(UpdateService::Available);
    QTest::newRow("download") << true << QStringList{QStringLiteral("--download")} << 0
                              << int(UpdateService::Downloaded);
    QTest::newRow("wrong key") << false << QStringList{QStringLiteral("--download")} << 1 << int(UpdateService::Failed);
    QTest::newRow("usage") << true << QStringList{QStringLiteral("--clock"), QStringLiteral("soon")} << 2 << -1;
}

// velk-update-run in this test's network, against the same channel and store.
void UpdatePackageTest::developerTool()
{
    QFETCH(bool, rightKey);
    QFETCH(QStringList, extra);
    QFETCH(int, exitCode);
    QFETCH(int, state);
    m_bed->serve(m_bed->payload());
    static const ReleaseSigner other;
    const QByteArray key = (rightKey ? m_bed->signer() : other).publicKey().toHex();
    QProcess tool;
    tool.setProgram(QStringLiteral(VELK_TEST_BIN_DIR "/velk-update-run"));
    tool.setArguments(QStringList{QStringLiteral("--anchor-key"), QString::fromLatin1(key), QStringLiteral("--channel"),
                                  QLatin1String(kChannelUrl), QStringLiteral("--ca"), m_bed->authorityPath(),
                                  QStringLiteral("--clock"), QString::number(m_bed->now), QStringLiteral("--machine-id"),
                                  m_bed->machineIdPath()}
                      + extra);
    tool.start();
    // The channel answers on this thread: wait without blocking it.
    QTRY_VERIFY_WITH_TIMEOUT(tool.state() == QProcess::NotRunning, 20000);
    QCOMPARE(tool.exitCode(), exitCode);
    if (state < 0)
        return;
    const QJsonObject result = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    QCOMPARE(result.value(QStringLiteral("state")).toInt(), state);
    QCOMPARE(result.keys(), (QStringList{"package", "sequence", "state", "status", "version"}));
    if (state == UpdateService::Failed) {
        QCOMPARE(result.value(QStringLiteral("status")).toString(), sentence(UpdateMessages::kSignatureInvalid));
        return;
    }
    QCOMPARE(result.value(QStringLiteral("version")).toString(), QStringLiteral("0.5.4"));
    QCOMPARE(result.value(QStringLiteral("sequence")).toInteger(), 8);
    const QString package = result.value(QStringLiteral("package")).toString();
    QCOMPARE(package.isEmpty(), state != UpdateService::Downloaded);
    if (!package.isEmpty()) {
        QVERIFY(package.startsWith(QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME")) + QStringLiteral("/Velk/Velk PDF/updates/")));
        QVERIFY(runQuietly(QStringLiteral("dpkg-deb"), {QStringLiteral("--info"), package}));
    }
}

int main(int argc, char** argv)
{
    // Before any thread exists.
    const QString networkError = enterPrivateNetwork();
    QApplication application(argc, argv);
    UpdatePackageTest test(networkError);
    return QTest::qExec(&test, argc, argv);
}

#include "UpdatePackageTest.moc"
