#include "operations/OutputNames.h"

#include <QDir>
#include <QFileInfo>

namespace velk {

QString OutputNames::derived(const QString& sourcePath, const QString& what)
{
    const QFileInfo source(sourcePath);
    const QString base = source.completeBaseName().isEmpty() ? QStringLiteral("belge") : source.completeBaseName();
    const QString name = what.isEmpty() ? base + QStringLiteral(".pdf")
                                        : QStringLiteral("%1-%2.pdf").arg(base, what);
    if (sourcePath.isEmpty() || source.isRelative())
        return name;
    return unused(QDir(source.absolutePath()).filePath(name));
}

QString OutputNames::unused(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return path;
    const QDir folder = info.absoluteDir();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int number = 2; number <= kMaxNumberedTries; ++number) {
        // One arg() call: a "%" in the name must not be taken for a marker.
        const QString candidate = folder.filePath(
            QStringLiteral("%1-%2%3").arg(info.completeBaseName(), QString::number(number), suffix));
        const QFileInfo next(candidate);
        if (!next.exists() && !next.isSymLink())
            return candidate;
    }
    return path;
}

} // namespace velk
