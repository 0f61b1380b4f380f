#include "support/TestDirectories.h"

#include <QDir>

namespace velk::test {

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
