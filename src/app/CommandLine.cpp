#include "app/CommandLine.h"

#include <QDir>

namespace velk {

QStringList CommandLine::documentPaths(const QStringList& arguments, const QString& startDirectory)
{
    const QDir start(startDirectory);
    QStringList paths;
    paths.reserve(arguments.size());
    // Joined, not cleaned: "link/../a.pdf" must keep meaning what the file
    // system makes of it; the canonical path is taken when the file opens.
    for (const QString& argument : arguments)
        paths.append(QDir::isAbsolutePath(argument) ? argument : start.filePath(argument));
    return paths;
}

} // namespace velk
