#include "document/core/PrivateDirectory.h"

#include "document/core/LeftoverWorkspaces.h"

#include <QDir>

#include <unistd.h>

namespace velk {

std::shared_ptr<QTemporaryDir> createPrivateDirectory(const QString& prefix)
{
    const QString temporary = QDir::tempPath();
    if (temporary.isEmpty())
        return nullptr;
    auto directory = std::make_unique<QTemporaryDir>(temporary + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX"));
    if (!directory->isValid())
        return nullptr;
    // Claimed for its whole life, so that a later start removes it only
    // once this process is gone without removing it itself.
    const int claim = LeftoverWorkspaces::claim(directory->path());
    if (claim < 0)
        return nullptr;
    return std::shared_ptr<QTemporaryDir>(directory.release(), [claim](QTemporaryDir* released) {
        delete released;
        ::close(claim);
    });
}

} // namespace velk
