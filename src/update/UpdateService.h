#pragma once

// The object behind the update dialog: checks for a release, keeps the
// anti-rollback floor in the secure store, downloads and checks the
// package and re-verifies everything before the installer is opened.
// Nothing is installed by this program.
//
// A check: take the per-user update lock and read the floor (pool thread),
// refuse a clock set back, fetch the signed description over the channel,
// verify it against the floor, write the new floor (pool thread), release
// the lock. The floor is written only after a description verified; a
// failure anywhere leaves the stored floor as it was.
//
// Lives on the GUI thread; one instance per dialog. Pool tasks get copies
// of their inputs and the cancellation flag, nothing else. Destroying the
// service cancels what runs, waits for a running store request and
// discards an unfinished package.

#include "update/ReleaseInfo.h"
#include "update/SecureStoreClient.h"
#include "update/UpdateAnchor.h"
#include "worker/runner/CancelFlag.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QThreadPool>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace velk {

class PackageDownload;
class UpdateLock;

// What a test or the developer tool sets in place of the shipped build's
// anchor and the system's trust, clock, machine identity and store.
struct UpdateServiceSetup {
    UpdateAnchor anchor;
    // The only authorities trusted for the channel; the system's when empty.
    QList<QSslCertificate> authorities;
    // Seconds since 1970-01-01 UTC; the system clock when null.
    std::function<qint64()> clock;
    // The machine identity file; the system's when empty.
    QString machineIdPath;
    // Where velk-secure-store is; beside the running program when empty.
    QString storeDirectory;
};

class UpdateService : public QObject {
    Q_OBJECT

public:
    enum State { Idle = 0, Checking = 1, UpToDate = 2, Available = 3, Downloading = 4, Downloaded = 5, Failed = 6 };

    // The shipped anchor and the system's trust, clock and identity.
    explicit UpdateService(QObject* parent = nullptr);
    UpdateService(const UpdateServiceSetup& setup, QObject* parent = nullptr);
    ~UpdateService() override;

    void check();
    void download();
    // Re-verifies the description and the package before the installer is
    // opened; false with the sentence in message.
    bool prepareInstaller(QString* message);
    void cancel();

    bool isConfigured() const;
    int state() const { return m_state; }
    QString status() const { return m_status; }
    bool isUpToDate() const { return m_upToDate; }
    const ReleaseInfo& release() const { return m_release; }
    QString packagePath() const { return m_packagePath; }
    QString account() const { return m_account; }
    // The folder packages are downloaded into; empty without a cache location.
    static QString packageDirectory();

Q_SIGNALS:
    void changed();
    void progress(qint64 received, qint64 total);

private:
    struct StoreOutcome {
        SecureStoreResult result;
        std::shared_ptr<UpdateLock> lock;
    };

    void setStatus(int state, const QString& status);
    void fail(const QString& message);
    void runStore(QJsonObject request, bool takeLock);
    void storeFinished();
    void floorRead(const SecureStoreResult& result);
    void fetchDescription();
    void descriptionArrived();
    void descriptionFinished();
    void saveFloor();
    ReleaseInfo reverify() const;
    void downloadEnded(bool succeeded);
    qint64 now() const;
    void freshFlag();

    UpdateServiceSetup m_setup;
    QString m_account;
    UpdateFloor m_floor;
    ReleaseInfo m_release;
    QByteArray m_releaseDescription;
    bool m_upToDate = false;
    int m_state = Idle;
    bool m_readingFloor = false;
    QString m_status;
    QString m_packagePath;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    bool m_bodyTooLarge = false;
    PackageDownload* m_download = nullptr;
    // The store tasks' own thread: a wait for another check's lock must not
    // hold a thread of the global pool, nor be starved by it.
    QThreadPool m_storePool;
    QFutureWatcher<StoreOutcome> m_storeWatcher;
    std::shared_ptr<UpdateLock> m_lock;
    CancelFlag m_cancel;
};

} // namespace velk
