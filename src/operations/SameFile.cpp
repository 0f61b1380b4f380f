#include "operations/SameFile.h"

#include <QFileInfo>

namespace velk {

bool isSameFile(const QString& first, const QString& second)
{
    const QFileInfo one(first);
    const QFileInfo other(second);
    if (one.absoluteFilePath() == other.absoluteFilePath())
        return true;
    // canonicalFilePath() resolves links and "..", and is empty for a path
    // that does not exist.
    const QString canonical = one.canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    return canonical == other.canonicalFilePath();
}

} // namespace velk
