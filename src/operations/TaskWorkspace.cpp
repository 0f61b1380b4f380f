#include "operations/TaskWorkspace.h"

#include "document/core/PrivateDirectory.h"

namespace velk {

TaskWorkspace::TaskWorkspace()
    : m_directory(createPrivateDirectory(QStringLiteral("velk-task-")))
{
}

QString TaskWorkspace::filePath(const QString& name) const
{
    return isValid() ? m_directory->filePath(name) : QString();
}

} // namespace velk
