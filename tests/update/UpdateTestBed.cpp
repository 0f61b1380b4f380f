#include "UpdateTestBed.h"

#include "support/TestPki.h"
#include "update/DeviceIdentity.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTimer>

namespace velk::test {

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

bool runQuietly(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

UpdateTestBed::UpdateTestBed()
{
    if (!m_root.isValid() || !m_store.isValid()) {
        m_error = QStringLiteral("temporary directories unavailable");
        return;
    }
    QDir(m_root.path()).mkpath(QStringLiteral("cache"));
    QDir(m_root.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_root.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_store.dataHome()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("cache"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_root.filePath(QStringLiteral("runtime"))));
    m_machineIdPath = m_root.filePath(QStringLiteral("machine-id"));
    if (!writeFile(m_machineIdPath, "0123456789abcdef0123456789abcdef\n") || !makeCertificates() || !makePackage())
        return;
    QString error;
    if (!m_channel.start(m_serverCertificate, m_serverKey, &error))
        m_error = QStringLiteral("channel: ") + error;
}

bool UpdateTestBed::makeCertificates()
{
    TestPki pki(m_root.filePath(QStringLiteral("pki")));
    CertificateRequest request;
    request.name = QStringLiteral("localhost");
    request.subject = QStringLiteral("/CN=localhost");
    request.extensions = {QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1"),
                          QStringLiteral("extendedKeyUsage=serverAuth"),
                          QStringLiteral("keyUsage=critical,digitalSignature,keyEncipherment")};
    const TestCertificate server = pki.isValid() ? pki.issue(request, pki.root()) : TestCertificate();
    if (!server.isValid()) {
        m_error = QStringLiteral("test PKI: ") + pki.error();
        return false;
    }
    QFile root(pki.root().certificatePath);
    m_authorities = root.open(QIODevice::ReadOnly) ? QSslCertificate::fromData(root.readAll()) : QList<QSslCertificate>();
    m_authorityPath = pki.root().certificatePath;
    m_serverCertificate = server.certificatePath;
    m_serverKey = server.keyPath;
    return !m_authorities.isEmpty();
}

// A real package: a control file and one payload file, owned by root.
bool UpdateTestBed::makePackage()
{
    const QString tree = m_root.filePath(QStringLiteral("deb"));
    QDir().mkpath(tree + QStringLiteral("/DEBIAN"));
    QDir().mkpath(tree + QStringLiteral("/usr/share/velk-test"));
    const QByteArray control = "Package: velk-pdf\nVersion: 0.5.4\nArchitecture: amd64\n"
                               "Maintainer: Velk Test <test@example.invalid>\nDescription: update test package\n";
    const QString output = m_root.filePath(QStringLiteral("velk-pdf_0.5.4_amd64.deb"));
    if (!writeFile(tree + QStringLiteral("/DEBIAN/control"), control)
        || !writeFile(tree + QStringLiteral("/usr/share/velk-test/payload"), QByteArray(300000, 'p'))
        || !runQuietly(QStringLiteral("dpkg-deb"), {QStringLiteral("--root-owner-group"), QStringLiteral("-Znone"),
                                                     QStringLiteral("--build"), tree, output})) {
        m_error = QStringLiteral("dpkg-deb failed");
        return false;
    }
    QFile file(output);
    m_package = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return !m_package.isEmpty();
}

QJsonObject UpdateTestBed::payload(qint64 sequence) const
{
    return QJsonObject{{"v", 1},
                       {"typ", "velk-update"},
                       {"product", "velk-pdf"},
                       {"platform", "linux-amd64"},
                       {"version", "0.5.4"},
                       {"sequence", double(sequence)},
                       {"issued_at", double(now - 60)},
                       {"expires_at", double(now + 86400)},
                       {"size", double(m_package.size())},
                       {"sha256", QString::fromLatin1(QCryptographicHash::hash(m_package, QCryptographicHash::Sha256).toHex())},
                       {"url", QString(QStringLiteral("https://localhost") + QLatin1String(kPackagePath))},
                       {"format", "deb"}};
}

QByteArray UpdateTestBed::envelope(const QJsonObject& payload, const ReleaseSigner* key) const
{
    return (key ? key : &m_signer)->envelope(QJsonDocument(payload).toJson(QJsonDocument::Compact));
}

void UpdateTestBed::serve(const QJsonObject& payload, const ReleaseSigner* key)
{
    ChannelAnswer description;
    description.body = envelope(payload, key);
    m_channel.setAnswer(QLatin1String(kChannelPath), description);
    ChannelAnswer package;
    package.body = m_package;
    m_channel.setAnswer(QLatin1String(kPackagePath), package);
}

UpdateServiceSetup UpdateTestBed::setup()
{
    UpdateServiceSetup setup;
    setup.anchor = UpdateAnchor{m_signer.publicKey(), QLatin1String(kChannelUrl)};
    if (!trustSystemOnly)
        setup.authorities = m_authorities;
    setup.clock = [this] { return now; };
    setup.machineIdPath = m_machineIdPath;
    setup.storeDirectory = QStringLiteral(VELK_APP_DIR);
    return setup;
}

std::unique_ptr<UpdateService> UpdateTestBed::service()
{
    return std::make_unique<UpdateService>(setup());
}

bool UpdateTestBed::settle(UpdateService& service, int timeoutMs)
{
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto busy = [&service] {
        return service.state() == UpdateService::Checking || service.state() == UpdateService::Downloading;
    };
    QObject::connect(&service, &UpdateService::changed, &loop, [&] {
        if (!busy())
            loop.quit();
    });
    if (!busy())
        return true;
    limit.start(timeoutMs);
    loop.exec();
    return !busy();
}

QString UpdateTestBed::account() const
{
    return QStringLiteral("update-") + deviceIdentifier(QStringList{m_machineIdPath});
}

QByteArray UpdateTestBed::sealedFloor() const
{
    QFile file(m_store.recordPath(account()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject UpdateTestBed::storedFloor() const
{
    return m_store.read(account()).reply().value(QStringLiteral("record")).toObject();
}

bool UpdateTestBed::storeFloor(const QJsonObject& record)
{
    return m_store.write(account(), record).exitCode == 0;
}

bool UpdateTestBed::clearFloor()
{
    return m_store.clear(account()).exitCode == 0;
}

QString UpdateTestBed::packageDirectory() const
{
    return UpdateService::packageDirectory();
}

QStringList UpdateTestBed::packageEntries() const
{
    return QDir(packageDirectory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void UpdateTestBed::clearPackages()
{
    QDir(packageDirectory()).removeRecursively();
}

} // namespace velk::test
