#include "EditRun.h"

namespace velk::test {

QJsonObject editRequest(const QString& operation, const QString& path, const QString& output, const QJsonObject& fields)
{
    QJsonObject request = fields;
    request.insert(QStringLiteral("operation"), operation);
    request.insert(QStringLiteral("path"), path);
    if (!output.isEmpty())
        request.insert(QStringLiteral("output"), output);
    return request;
}

PdfFixtureSpec fixtureOf(const QList<PdfPageSpec>& pages)
{
    PdfFixtureSpec spec;
    spec.pages = pages;
    return spec;
}

} // namespace velk::test
