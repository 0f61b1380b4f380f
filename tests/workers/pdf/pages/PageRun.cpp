#include "PageRun.h"

#include "support/TestPaths.h"

#include <QDir>

namespace velk::test {

WorkerReply runPagesSandboxed(const QJsonObject& request)
{
    return runPdfWorker(request, nullptr, 60000, applicationDirectory());
}

QJsonObject pageSource(const QString& path, const QJsonValue& pages)
{
    QJsonObject source{{QStringLiteral("path"), path}};
    if (!pages.isNull())
        source.insert(QStringLiteral("pages"), pages);
    return source;
}

QJsonObject pagesRequest(const QString& operation, const QJsonArray& sources, const QString& output,
                         const QJsonValue& rotations)
{
    QJsonObject request{{QStringLiteral("operation"), operation},
                        {QStringLiteral("sources"), sources},
                        {QStringLiteral("output"), output}};
    if (!rotations.isNull())
        request.insert(QStringLiteral("rotations"), rotations);
    return request;
}

PdfFixtureSpec labelledPages(const QByteArray& prefix, int count)
{
    PdfFixtureSpec spec;
    spec.pages.clear();
    for (int index = 1; index <= count; ++index)
        spec.pages.append(PdfPageSpec(200, 200, 0, prefix + QByteArray::number(index)));
    return spec;
}

QStringList labels(const QString& prefix, const QList<int>& numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts.append(prefix + QString::number(number));
    return texts;
}

QStringList entriesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace velk::test
