#pragma once

// The one shape of every client task that has the PDF worker write a file:
// a private workspace, worker runs that write into it, a check of what they
// wrote, and the publication of the checked file to the user's
// destination. The tasks keep their own inputs, requests and sentences;
// the steps are written once here. Lives on the task's pool thread; the
// workspace and everything in it goes with the pipeline.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"
#include "operations/TaskWorkspace.h"

#include <QJsonObject>
#include <QString>

namespace velk {

class TaskPipeline {
public:
    // workspaceFailure: the task's sentence when no workspace can be made.
    explicit TaskPipeline(QString workspaceFailure);

    // Empty when the workspace stands, else the task's sentence.
    QString workspaceError() const;
    // A file with a fixed name in the workspace; empty without one.
    QString filePath(const QString& name) const;

    // Runs the request with "output" set to the named workspace file.
    // Empty on success, else the runner's or the worker's sentence.
    QString write(QJsonObject request, const QString& outputName, int timeLimitMs,
                  const CancelFlag& cancel = nullptr) const;

    // True when the named work file opens in the worker and has pageCount
    // pages.
    bool inspectsWithPages(const QString& outputName, int pageCount, int timeLimitMs) const;

    // Publishes the named work file as it is.
    ExportResult publish(const QString& outputName, const QString& destination, const CancelFlag& cancel) const;
    // Re-opens the named work file as a new document, which must have
    // pageCount pages (else notVerified), and publishes the working copy
    // the worker has just inspected.
    ExportResult publishReopened(const QString& outputName, int pageCount, const QString& notVerified,
                                 const QString& destination) const;

private:
    TaskWorkspace m_workspace;
    QString m_workspaceFailure;
};

} // namespace velk
