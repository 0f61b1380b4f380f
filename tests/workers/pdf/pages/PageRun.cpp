#include "PageRun.h"

namespace velk::test {

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

} // namespace velk::test
