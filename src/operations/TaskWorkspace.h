#pragma once

// The private directory one operation task lets the PDF worker write into.
// Created with a unique name in the system temporary location, owner-only,
// and removed with everything in it when the object goes, so a task that
// holds it on its stack leaves nothing behind on any path. Lives on the
// task's pool thread.

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace velk {

class TaskWorkspace {
public:
    TaskWorkspace();

    bool isValid() const { return m_directory && m_directory->isValid(); }
    // A file with a fixed name inside the workspace; empty when invalid.
    QString filePath(const QString& name) const;

private:
    // Null when there is no temporary location to create it in.
    std::shared_ptr<QTemporaryDir> m_directory;
};

} // namespace velk
