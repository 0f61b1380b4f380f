#include "EditRun.h"

#include "support/TestPaths.h"

#include <QDir>

namespace velk::test {

WorkerReply runEditSandboxed(const QJsonObject& request)
{
    return runPdfWorker(request, nullptr, kEditTimeLimitMs, applicationDirectory());
}

QJsonObject editRequest(const QString& operation, const QString& path, const QString& output, const QJsonObject& fields)
{
    QJsonObject request = fields;
    request.insert(QStringLiteral("operation"), operation);
    request.insert(QStringLiteral("path"), path);
    if (!output.isEmpty())
        request.insert(QStringLiteral("output"), output);
    return request;
}

QJsonObject refusal(const QString& message)
{
    return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}};
}

QJsonObject withoutIsolation(QJsonObject reply)
{
    reply.remove(QStringLiteral("isolation"));
    return reply;
}

PdfFixtureSpec fixtureOf(const QList<PdfPageSpec>& pages)
{
    PdfFixtureSpec spec;
    spec.pages = pages;
    return spec;
}

QStringList entriesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QString freshOutputIn(const QString& root, int& counter, const QString& fileName)
{
    const QString directory = QDir(root).filePath(QStringLiteral("out%1").arg(++counter));
    QDir().mkpath(directory);
    return directory + QLatin1Char('/') + fileName;
}

} // namespace velk::test
