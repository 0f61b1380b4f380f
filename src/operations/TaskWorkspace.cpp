#include "TaskWorkspace.h"

#include <QDir>

namespace velk {

TaskWorkspace::TaskWorkspace()
{
    // QDir::tempPath() follows TMPDIR and is empty when that directory does
    // not exist; a workspace is then refused rather than made at the root.
    const QString temporary = QDir::tempPath();
    if (!temporary.isEmpty())
        m_directory = std::make_unique<QTemporaryDir>(temporary + QStringLiteral("/velk-task-XXXXXX"));
}

QString TaskWorkspace::filePath(const QString& name) const
{
    return isValid() ? m_directory->filePath(name) : QString();
}

} // namespace velk
