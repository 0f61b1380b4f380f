#include "support/SandboxedRun.h"

#include "support/TestPaths.h"

namespace velk::test {

WorkerReply runSandboxed(const QJsonObject& request, int timeLimitMs)
{
    return runPdfWorker(request, nullptr, timeLimitMs, applicationDirectory());
}

QJsonObject isolationPassed()
{
    return QJsonObject{{QStringLiteral("filesystem"), true}, {QStringLiteral("networkAndExecution"), true}};
}

QJsonObject withoutIsolation(QJsonObject reply)
{
    reply.remove(QStringLiteral("isolation"));
    return reply;
}

QJsonObject failureReply(const QString& message, int code)
{
    return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}, {QStringLiteral("code"), code}};
}

QJsonObject refusal(const QString& message)
{
    return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}};
}

} // namespace velk::test
