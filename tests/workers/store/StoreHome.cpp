#include "StoreHome.h"

#include "store/StoreKey.h"
#include "support/TestPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>

#include <memory>
#include <vector>

#include <sys/stat.h>

namespace velk::test {

namespace {

constexpr int kRunTimeoutMs = 20000;

QByteArray describe(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return "gone";
    QByteArray entry = QByteArray::number(status.st_mode, 8) + ' ' + QByteArray::number(status.st_uid) + ' ';
    if (S_ISREG(status.st_mode)) {
        QFile file(path);
        entry += file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : QByteArray("unreadable");
    } else if (S_ISLNK(status.st_mode)) {
        entry += QFile::encodeName(QFile::symLinkTarget(path));
    }
    return entry;
}

StoreRun collect(QProcess& process)
{
    StoreRun run;
    run.finished = process.waitForFinished(kRunTimeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errorOutput = process.readAllStandardError();
    return run;
}

} // namespace

QJsonObject StoreRun::reply() const
{
    return QJsonDocument::fromJson(output).object();
}

QByteArray storeRequest(const QString& operation, const QString& account)
{
    const QJsonObject request{{QStringLiteral("operation"), operation}, {QStringLiteral("account"), account}};
    return QJsonDocument(request).toJson(QJsonDocument::Compact);
}

QByteArray writeRequest(const QString& account, const QJsonObject& record)
{
    const QJsonObject request{{QStringLiteral("operation"), QStringLiteral("write")},
                              {QStringLiteral("account"), account},
                              {QStringLiteral("record"), record}};
    return QJsonDocument(request).toJson(QJsonDocument::Compact);
}

StoreHome::StoreHome() = default;

QString StoreHome::storeDirectory() const
{
    return dataHome() + QStringLiteral("/Velk/Velk PDF/secure-store");
}

QString StoreHome::keyPath() const
{
    return storeDirectory() + QLatin1Char('/') + QString::fromLatin1(StoreKey::kFileName);
}

QString StoreHome::recordPath(const QString& account) const
{
    const QByteArray digest = QCryptographicHash::hash(account.toUtf8(), QCryptographicHash::Sha256);
    return storeDirectory() + QLatin1Char('/') + QString::fromLatin1(digest.toHex()) + QStringLiteral(".sealed");
}

QProcessEnvironment StoreHome::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    return environment;
}

StoreRun StoreHome::run(const QByteArray& input, const std::function<void()>& childSetup) const
{
    QProcess process;
    process.setProgram(program(QStringLiteral("velk-secure-store")));
    process.setProcessEnvironment(environment());
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start();
    if (!process.waitForStarted(kRunTimeoutMs))
        return {};
    process.write(input);
    process.closeWriteChannel();
    return collect(process);
}

QList<StoreRun> StoreHome::runAtOnce(const QList<QByteArray>& inputs) const
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->setProgram(program(QStringLiteral("velk-secure-store")));
        processes.back()->setProcessEnvironment(environment());
        processes.back()->start();
    }
    for (auto& process : processes)
        process->waitForStarted(kRunTimeoutMs);
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        // Written out here, not later while waiting for another process.
        processes[size_t(i)]->write(inputs.at(i));
        processes[size_t(i)]->waitForBytesWritten(kRunTimeoutMs);
        processes[size_t(i)]->closeWriteChannel();
    }
    QList<StoreRun> runs;
    for (auto& process : processes)
        runs.append(collect(*process));
    return runs;
}

QMap<QString, QByteArray> StoreHome::snapshot() const
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(dataHome(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path, describe(path));
    }
    return entries;
}

} // namespace velk::test
