#pragma once

// Everything an update-service test runs against, made at test time: a test
// authority and a server certificate for localhost and 127.0.0.1 (trusted
// only through the service's authority list), the channel on
// 127.0.0.1:443, a release key, a real .deb built by dpkg-deb, a machine
// identity, and private data, cache and runtime directories for the real
// secure store, the package cache and the update lock. Needs the private
// network of PrivateNetwork.h.

#include "ReleaseSigner.h"
#include "UpdateChannel.h"
#include "update/UpdateService.h"
#include "workers/store/StoreHome.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

namespace velk::test {

inline constexpr char kChannelUrl[] = "https://localhost/channel.json";
inline constexpr char kChannelPath[] = "/channel.json";
inline constexpr char kPackagePath[] = "/pool/velk-pdf_0.5.4_amd64.deb";
inline constexpr qint64 kTestNow = 1800000000;

// Runs a program to its end with its output discarded; true on exit 0.
bool runQuietly(const QString& program, const QStringList& arguments);

class UpdateTestBed {
public:
    // Sets XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR of the process.
    UpdateTestBed();

    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    UpdateChannel& channel() { return m_channel; }
    const ReleaseSigner& signer() const { return m_signer; }
    const QByteArray& package() const { return m_package; }
    // The clock every service of this bed reads.
    qint64 now = kTestNow;
    // The next service trusts only the system's authorities.
    bool trustSystemOnly = false;

    // A valid newer release of the test package, issued a minute ago.
    QJsonObject payload(qint64 sequence = 8) const;
    QByteArray envelope(const QJsonObject& payload, const ReleaseSigner* key = nullptr) const;
    // Serves the description at the channel and the package at its path.
    void serve(const QJsonObject& payload, const ReleaseSigner* key = nullptr);

    UpdateServiceSetup setup();
    std::unique_ptr<UpdateService> service();
    // Runs the event loop until the service leaves states 1 and 4.
    static bool settle(UpdateService& service, int timeoutMs = 20000);

    // The test authority (PEM) and the machine identity file, for programs.
    QString authorityPath() const { return m_authorityPath; }
    QString machineIdPath() const { return m_machineIdPath; }

    StoreHome& store() { return m_store; }
    QString account() const;
    // The sealed floor file's bytes; empty when there is none.
    QByteArray sealedFloor() const;
    // The floor as the real store reads it back; empty when none.
    QJsonObject storedFloor() const;
    bool storeFloor(const QJsonObject& record);
    bool clearFloor();

    QString packageDirectory() const;
    // Every entry of the package directory, hidden ones too.
    QStringList packageEntries() const;
    void clearPackages();

private:
    bool makeCertificates();
    bool makePackage();

    QString m_error;
    QTemporaryDir m_root;
    StoreHome m_store;
    UpdateChannel m_channel;
    ReleaseSigner m_signer;
    QByteArray m_package;
    QString m_machineIdPath;
    QList<QSslCertificate> m_authorities;
    QString m_authorityPath;
    QString m_serverCertificate;
    QString m_serverKey;
};

} // namespace velk::test
