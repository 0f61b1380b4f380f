// velk-update-run: developer tool, built with the tests and never installed.
// Builds an update service with the given anchor, authorities, clock and
// machine identity, runs one check and, with --download, the package
// download and check, against the real secure store of this build (its
// data and cache homes as the caller's XDG_DATA_HOME and XDG_CACHE_HOME
// say). Prints one JSON object {"state", "status", "version", "sequence",
// "package"} once the service settles. Exit status 0 for an accepted
// release or up to date, 1 for a refusal, 2 for a usage error. Runs in
// whatever network namespace the caller made, so the channel may be served
// on 127.0.0.1:443 there.
//
//   velk-update-run --anchor-key HEX --channel URL [--ca PEM] [--clock UNIX_SECONDS]
//                   [--machine-id FILE] [--download]

#include "update/UpdateService.h"
#include "worker/contract/WorkerProfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <optional>

namespace {

using velk::UpdateService;
using velk::UpdateServiceSetup;

constexpr qint64 kMaxCaFileBytes = 4 * 1024 * 1024;

bool isBusy(const UpdateService& service)
{
    return service.state() == UpdateService::Checking || service.state() == UpdateService::Downloading;
}

void settle(UpdateService& service)
{
    QEventLoop loop;
    QObject::connect(&service, &UpdateService::changed, &loop, [&] {
        if (!isBusy(service))
            loop.quit();
    });
    if (isBusy(service))
        loop.exec();
}

int print(const UpdateService& service)
{
    const QJsonObject result{{"state", service.state()},
                             {"status", service.status()},
                             {"version", service.release().version},
                             {"sequence", double(service.release().sequence)},
                             {"package", service.state() == UpdateService::Downloaded ? service.packagePath() : QString()}};
    const QByteArray text = QJsonDocument(result).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    const int state = service.state();
    return state == UpdateService::UpToDate || state == UpdateService::Available || state == UpdateService::Downloaded
        ? 0
        : 1;
}

int usage(const QString& reason)
{
    const QByteArray text = reason.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    return 2;
}

// The service's inputs from the command line; nothing on a usage error.
std::optional<UpdateServiceSetup> readSetup(const QCommandLineParser& parser, QString* error)
{
    static const QRegularExpression hexKey(QStringLiteral("^[0-9a-fA-F]{64}$"));
    UpdateServiceSetup setup;
    const QString key = parser.value(QStringLiteral("anchor-key"));
    if (!hexKey.match(key).hasMatch() || !parser.isSet(QStringLiteral("channel"))) {
        *error = QStringLiteral("--anchor-key takes 64 hexadecimal digits; --channel is required");
        return std::nullopt;
    }
    setup.anchor = velk::UpdateAnchor{QByteArray::fromHex(key.toLatin1()), parser.value(QStringLiteral("channel"))};
    if (parser.isSet(QStringLiteral("ca"))) {
        QFile file(parser.value(QStringLiteral("ca")));
        const QByteArray pem = file.open(QIODevice::ReadOnly) ? file.read(kMaxCaFileBytes) : QByteArray();
        setup.authorities = QSslCertificate::fromData(pem);
        if (setup.authorities.isEmpty()) {
            *error = QStringLiteral("--ca names no readable PEM certificate");
            return std::nullopt;
        }
    }
    if (parser.isSet(QStringLiteral("clock"))) {
        bool ok = false;
        const qint64 clock = parser.value(QStringLiteral("clock")).toLongLong(&ok);
        if (!ok) {
            *error = QStringLiteral("--clock takes whole seconds since 1970");
            return std::nullopt;
        }
        setup.clock = [clock] { return clock; };
    }
    setup.machineIdPath = parser.value(QStringLiteral("machine-id"));
    setup.storeDirectory = QStringLiteral(VELK_APP_DIR);
    return setup;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    // The program's own identity, so the package cache is the one velk-pdf uses.
    QCoreApplication::setOrganizationName(QString::fromUtf8(velk::kOrganizationName));
    QCoreApplication::setApplicationName(QString::fromUtf8(velk::kApplicationName));
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("anchor-key"), QStringLiteral("Release public key (hex)."), QStringLiteral("HEX")},
                       {QStringLiteral("channel"), QStringLiteral("Channel address."), QStringLiteral("URL")},
                       {QStringLiteral("ca"), QStringLiteral("Trusted authorities (PEM)."), QStringLiteral("PEM")},
                       {QStringLiteral("clock"), QStringLiteral("Current time."), QStringLiteral("UNIX_SECONDS")},
                       {QStringLiteral("machine-id"), QStringLiteral("Machine identity file."), QStringLiteral("FILE")},
                       {QStringLiteral("download"), QStringLiteral("Download and check the package.")}});
    if (!parser.parse(application.arguments()))
        return usage(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("no positional arguments are taken"));
    QString error;
    const std::optional<UpdateServiceSetup> setup = readSetup(parser, &error);
    if (!setup)
        return usage(error);
    UpdateService service(*setup);
    service.check();
    settle(service);
    if (parser.isSet(QStringLiteral("download")) && service.state() == UpdateService::Available) {
        service.download();
        settle(service);
    }
    return print(service);
}
