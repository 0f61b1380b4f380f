#include "PackageBuild.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>

namespace velk::test {

CommandRun runCommand(const QString& program, const QStringList& arguments, int timeoutMs,
                      const QStringList& environment)
{
    CommandRun run;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        run.output = process.readAll();
        return run;
    }
    run.output = process.readAll();
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    return run;
}

QStringList missingTools(const QStringList& tools)
{
    QStringList missing;
    for (const QString& tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            missing.append(tool);
    }
    return missing;
}

PackageBuild::PackageBuild(const QString& workDirectory)
    : m_work(workDirectory)
{
}

QString PackageBuild::stagingRoot() const
{
    return m_work + QStringLiteral("/stage");
}

QString PackageBuild::applicationDirectory() const
{
    return stagingRoot() + QStringLiteral(VELK_INSTALLED_APPDIR);
}

bool PackageBuild::stage()
{
    // Modes in the package come from the staged files: the usual 0022
    // whatever the caller's mask was.
    ::umask(022);
    const CommandRun run = runCommand(QStringLiteral("cmake"),
                                      {QStringLiteral("--install"), QStringLiteral(VELK_BUILD_DIR), QStringLiteral("--strip")},
                                      120000, {QStringLiteral("DESTDIR=") + stagingRoot()});
    m_log = run.output;
    return run.succeeded();
}

QString PackageBuild::pack(const QStringList& definitions)
{
    const QString output = m_work + QStringLiteral("/cpack");
    QStringList arguments{QStringLiteral("--config"), QStringLiteral(VELK_BUILD_DIR "/CPackConfig.cmake"),
                          QStringLiteral("-B"), output,
                          QStringLiteral("-D"), QStringLiteral("CPACK_INSTALL_CMAKE_PROJECTS="),
                          QStringLiteral("-D"), QStringLiteral("CPACK_INSTALLED_DIRECTORIES=%1;/").arg(stagingRoot()),
                          // gzip instead of xz: the same files in a fraction of the time.
                          QStringLiteral("-D"), QStringLiteral("CPACK_DEBIAN_COMPRESSION_TYPE=gzip")};
    for (const QString& definition : definitions)
        arguments << QStringLiteral("-D") << definition;
    const CommandRun run = runCommand(QStringLiteral("cpack"), arguments);
    m_log = run.output;
    const QStringList packages = QDir(output).entryList({QStringLiteral("*.deb")}, QDir::Files);
    if (!run.succeeded() || packages.size() != 1)
        return {};
    return output + QLatin1Char('/') + packages.first();
}

} // namespace velk::test
