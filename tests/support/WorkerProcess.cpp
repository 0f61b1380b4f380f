#include "WorkerProcess.h"

#include <QJsonDocument>
#include <QProcess>

#include <unistd.h>

namespace velk::test {

QJsonObject WorkerRun::reply() const
{
    return QJsonDocument::fromJson(output).object();
}

WorkerRun runWorker(const QString& program, const QByteArray& input, const WorkerRunOptions& options)
{
    QProcess process;
    process.setProgram(program);
    process.setProcessEnvironment(options.environment);
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    if (options.closeStandardOutput)
        process.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
    process.start();
    WorkerRun run;
    if (!process.waitForStarted(options.timeoutMs))
        return run;
    process.write(input);
    process.closeWriteChannel();
    run.finished = process.waitForFinished(options.timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    return run;
}

} // namespace velk::test
