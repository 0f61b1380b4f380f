#include "update/UpdateService.h"

#include "update/DeviceIdentity.h"
#include "update/FloorRecord.h"
#include "update/PackageCheck.h"
#include "update/PackageDownload.h"
#include "update/PlatformIdentity.h"
#include "update/ReleaseMetadata.h"
#include "update/UpdateAddress.h"
#include "update/UpdateLimits.h"
#include "update/UpdateLock.h"
#include "update/UpdateMessages.h"
#include "update/UpdateRequest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

namespace velk {

namespace {

constexpr char kInstalledVersion[] = VELK_VERSION;
constexpr qsizetype kDescriptionReadLimit = UpdateLimits::kMaxEnvelopeBytes + 1;

QString sentence(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

UpdateService::UpdateService(QObject* parent)
    : UpdateService(UpdateServiceSetup{UpdateAnchor::shipped(), {}, {}, {}, {}}, parent)
{
}

UpdateService::UpdateService(const UpdateServiceSetup& setup, QObject* parent)
    : QObject(parent)
    , m_setup(setup)
    , m_network(new QNetworkAccessManager(this))
{
    freshFlag();
    m_storePool.setMaxThreadCount(1);
    m_network->setProxy(QNetworkProxy::NoProxy);
    connect(&m_storeWatcher, &QFutureWatcher<StoreOutcome>::finished, this, &UpdateService::storeFinished);
    const QString device = m_setup.machineIdPath.isEmpty() ? deviceIdentifier()
                                                           : deviceIdentifier(QStringList{m_setup.machineIdPath});
    if (!device.isEmpty())
        m_account = QStringLiteral("update-") + device;
    m_status = sentence(isConfigured() ? UpdateMessages::kReadyStatus : UpdateMessages::kNotConfiguredStatus);
}

UpdateService::~UpdateService()
{
    m_cancel->store(true);
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    m_storeWatcher.disconnect(this);
    m_storeWatcher.waitForFinished();
    // Aborts the transfer and discards the unfinished file.
    delete m_download;
    m_download = nullptr;
}

bool UpdateService::isConfigured() const
{
    return m_setup.anchor.publicKey.size() == UpdateLimits::kEd25519PublicKeyBytes
        && !UpdateAddress::channel(m_setup.anchor.channel).isEmpty() && !platformIdentifier().isEmpty()
        && !m_account.isEmpty();
}

QString UpdateService::packageDirectory()
{
    // Without a cache location there is no folder of ours (never "/updates").
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/updates");
}

qint64 UpdateService::now() const
{
    return m_setup.clock ? m_setup.clock() : QDateTime::currentSecsSinceEpoch();
}

void UpdateService::freshFlag()
{
    m_cancel = std::make_shared<std::atomic<bool>>(false);
}

void UpdateService::setStatus(int state, const QString& status)
{
    m_state = state;
    m_status = status;
    Q_EMIT changed();
}

void UpdateService::fail(const QString& message)
{
    if (m_download) {
        m_download->disconnect(this);
        m_download->deleteLater();
        m_download = nullptr;
    }
    m_lock.reset();
    m_readingFloor = false;
    setStatus(Failed, message);
}

void UpdateService::cancel()
{
    m_cancel->store(true);
    if (m_reply)
        m_reply->abort();
    if (m_download)
        m_download->abort();
}

void UpdateService::check()
{
    if (m_state == Checking || m_state == Downloading || m_storeWatcher.isRunning())
        return;
    if (!isConfigured()) {
        fail(sentence(UpdateMessages::kNotConfigured));
        return;
    }
    freshFlag();
    m_readingFloor = true;
    setStatus(Checking, sentence(UpdateMessages::kReadingFloor));
    runStore(QJsonObject{{QStringLiteral("operation"), QStringLiteral("read")},
                         {QStringLiteral("account"), m_account}},
             true);
}

// The lock is taken in the task, before the floor is read, and stays with
// the service until the floor write ends.
void UpdateService::runStore(QJsonObject request, bool takeLock)
{
    const CancelFlag cancel = m_cancel;
    const QString directory =
        m_setup.storeDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : m_setup.storeDirectory;
    m_storeWatcher.setFuture(QtConcurrent::run(&m_storePool, [request, cancel, directory, takeLock]() mutable {
        StoreOutcome outcome;
        if (takeLock) {
            outcome.lock = UpdateLock::acquire(cancel);
            if (!outcome.lock) {
                const bool cancelled = cancel && cancel->load();
                outcome.result.error =
                    sentence(cancelled ? UpdateMessages::kStoreCancelled : UpdateMessages::kLockUnavailable);
                return outcome;
            }
        }
        outcome.result = runSecureStore(request, cancel, directory);
        return outcome;
    }));
}

void UpdateService::storeFinished()
{
    StoreOutcome outcome = m_storeWatcher.result();
    if (outcome.lock)
        m_lock = std::move(outcome.lock);
    if (m_cancel->load()) {
        fail(sentence(UpdateMessages::kCancelled));
        return;
    }
    if (!outcome.result.ok) {
        fail(outcome.result.error);
        return;
    }
    if (m_readingFloor) {
        floorRead(outcome.result);
        return;
    }
    // The new floor is stored: another check may read it now.
    m_lock.reset();
    if (m_upToDate)
        setStatus(UpToDate, sentence(UpdateMessages::kUpToDate));
    else
        setStatus(Available, sentence(UpdateMessages::kAvailable).arg(m_release.version));
}

void UpdateService::floorRead(const SecureStoreResult& result)
{
    m_readingFloor = false;
    m_floor = UpdateFloor{};
    if (result.found) {
        const std::optional<UpdateFloor> stored = FloorRecord::fromRecord(result.record);
        if (!stored) {
            fail(sentence(UpdateMessages::kFloorDamaged));
            return;
        }
        m_floor = *stored;
    }
    if (now() < m_floor.highWater) {
        fail(sentence(UpdateMessages::kClockBehind));
        return;
    }
    fetchDescription();
}

void UpdateService::fetchDescription()
{
    setStatus(Checking, sentence(UpdateMessages::kFetching));
    m_body.clear();
    m_bodyTooLarge = false;
    QNetworkReply* reply =
        m_network->get(buildUpdateRequest(UpdateAddress::channel(m_setup.anchor.channel), m_setup.authorities));
    m_reply = reply;
    reply->setReadBufferSize(kDescriptionReadLimit);
    auto* timer = new QTimer(reply);
    timer->setObjectName(QStringLiteral("descriptionTimer"));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::readyRead, this, &UpdateService::descriptionArrived);
    connect(reply, &QNetworkReply::finished, this, &UpdateService::descriptionFinished);
    timer->start(UpdateLimits::kDescriptionTimeLimitMs);
}

void UpdateService::descriptionArrived()
{
    if (!m_reply || m_bodyTooLarge)
        return;
    m_body += m_reply->read(kDescriptionReadLimit - m_body.size());
    if (m_body.size() > UpdateLimits::kMaxEnvelopeBytes) {
        m_bodyTooLarge = true;
        m_reply->abort();
    }
}

void UpdateService::descriptionFinished()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    if (auto* timer = reply->findChild<QTimer*>(QStringLiteral("descriptionTimer")))
        timer->stop();
    if (reply->isOpen() && m_body.size() <= UpdateLimits::kMaxEnvelopeBytes)
        m_body += reply->read(kDescriptionReadLimit - m_body.size());
    const bool accepted = reply->error() == QNetworkReply::NoError
        && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200 && !m_bodyTooLarge
        && m_body.size() <= UpdateLimits::kMaxEnvelopeBytes && !m_cancel->load();
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    if (!accepted) {
        fail(sentence(UpdateMessages::kDescriptionNotFetched));
        return;
    }
    const qint64 checkedAt = now();
    const ReleaseInfo release = verifyReleaseMetadata(m_setup.anchor.publicKey, m_body,
                                                      QString::fromLatin1(kInstalledVersion), platformIdentifier(),
                                                      m_setup.anchor.channel, m_floor, checkedAt);
    if (!release.error.isEmpty()) {
        fail(release.error);
        return;
    }
    m_release = release;
    m_releaseDescription = m_body;
    m_upToDate = release.upToDate;
    m_floor = UpdateFloor{release.sequence, checkedAt, release.manifestHash};
    saveFloor();
}

void UpdateService::saveFloor()
{
    setStatus(Checking, sentence(UpdateMessages::kSavingFloor));
    runStore(QJsonObject{{QStringLiteral("operation"), QStringLiteral("write")},
                         {QStringLiteral("account"), m_account},
                         {QStringLiteral("record"), FloorRecord::toRecord(m_floor)}},
             false);
}

ReleaseInfo UpdateService::reverify() const
{
    return verifyReleaseMetadata(m_setup.anchor.publicKey, m_releaseDescription,
                                 QString::fromLatin1(kInstalledVersion), platformIdentifier(),
                                 m_setup.anchor.channel, m_floor, now());
}

void UpdateService::download()
{
    if (m_state != Available)
        return;
    const ReleaseInfo release = reverify();
    if (!release.error.isEmpty()) {
        fail(release.error);
        return;
    }
    const QString directory = packageDirectory();
    if (directory.isEmpty() || !QDir().mkpath(directory)) {
        fail(sentence(UpdateMessages::kCacheDirectoryFailed));
        return;
    }
    m_packagePath = directory + QStringLiteral("/velk-pdf-") + m_account + QLatin1Char('-')
        + QUuid::createUuid().toString(QUuid::Id128) + QLatin1Char('.') + release.format;
    auto file = std::make_unique<AtomicFileWriter>(m_packagePath);
    if (!file->open()) {
        fail(sentence(UpdateMessages::kPackageFileFailed));
        return;
    }
    freshFlag();
    setStatus(Downloading, sentence(UpdateMessages::kDownloading));
    QNetworkReply* reply = m_network->get(buildUpdateRequest(release.packageUrl, m_setup.authorities));
    m_download = new PackageDownload(reply, std::move(file), release.size, release.sha256, m_cancel, this);
    connect(m_download, &PackageDownload::progress, this, &UpdateService::progress);
    connect(m_download, &PackageDownload::ended, this, &UpdateService::downloadEnded);
}

void UpdateService::downloadEnded(bool succeeded)
{
    PackageDownload* download = m_download;
    m_download = nullptr;
    download->disconnect(this);
    download->deleteLater();
    if (!succeeded || !download->commit()) {
        fail(sentence(UpdateMessages::kDownloadFailed));
        return;
    }
    QFile package(m_packagePath);
    QString message;
    if (!package.open(QIODevice::ReadOnly))
        message = sentence(UpdateMessages::kPackageUnreadable);
    else if (checkPackage(package, m_release, &message)) {
        setStatus(Downloaded, sentence(UpdateMessages::kPackageVerified));
        return;
    }
    package.close();
    QFile::remove(m_packagePath);
    setStatus(Failed, message);
}

bool UpdateService::prepareInstaller(QString* message)
{
    if (m_state != Downloaded || m_packagePath.isEmpty()) {
        *message = sentence(UpdateMessages::kNoVerifiedPackage);
        return false;
    }
    const ReleaseInfo release = reverify();
    if (!release.error.isEmpty()) {
        *message = release.error;
        return false;
    }
    QFile package(m_packagePath);
    if (!package.open(QIODevice::ReadOnly)) {
        *message = sentence(UpdateMessages::kPackageOpenFailed);
        return false;
    }
    return checkPackage(package, release, message);
}

} // namespace velk
