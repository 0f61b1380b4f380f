#include "PrivateDirectory.h"

#include <QDir>

namespace velk {

std::unique_ptr<QTemporaryDir> createPrivateDirectory(const QString& prefix)
{
    const QString temporary = QDir::tempPath();
    if (temporary.isEmpty())
        return nullptr;
    auto directory = std::make_unique<QTemporaryDir>(temporary + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX"));
    if (!directory->isValid())
        return nullptr;
    return directory;
}

} // namespace velk
