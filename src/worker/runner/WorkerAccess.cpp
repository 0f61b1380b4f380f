#include "worker/runner/WorkerAccess.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonValue>

namespace velk::WorkerAccess {

namespace {

// No cleaning of "." or "..": the sandbox must grant the path exactly as
// the worker will open it.
QString absolute(const QString& path)
{
    return QDir::current().absoluteFilePath(path);
}

void appendPath(QStringList& list, const QJsonValue& value)
{
    const QString path = value.toString();
    if (!path.isEmpty())
        list.append(absolute(path));
}

} // namespace

QStringList readList(const QJsonObject& request)
{
    QStringList list;
    appendPath(list, request.value(QLatin1String("path")));
    const QJsonArray sources = request.value(QLatin1String("sources")).toArray();
    for (const QJsonValue& source : sources)
        appendPath(list, source.toObject().value(QLatin1String("path")));
    return list;
}

QString writeDirectory(const QJsonObject& request)
{
    const QString output = request.value(QLatin1String("output")).toString();
    if (output.isEmpty())
        return {};
    const QString path = absolute(output);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    // An absolute path always has a slash; the root's children live in "/".
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace velk::WorkerAccess
