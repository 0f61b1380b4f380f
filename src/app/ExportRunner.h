#pragma once

// Runs the main window's file-producing tasks, one at a time, on the global
// thread pool. A task is a callable returning ExportResult; it receives
// nothing from here and must touch no QObject, sharing only its optional
// cancellation flag with the GUI. Starting while a task runs is refused.
//
// GUI thread. Owned by the main window; owns its future watcher. Destroying
// the runner sets the running task's flag, so a task that can stop does.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <functional>

namespace velk {

class ExportRunner : public QObject {
    Q_OBJECT

public:
    using Task = std::function<ExportResult()>;

    explicit ExportRunner(QObject* parent = nullptr);
    ~ExportRunner() override;

    bool isBusy() const { return m_busy; }
    // The file the running (or last) task writes.
    QString pendingOutputPath() const { return m_pendingOutputPath; }
    bool canCancel() const { return m_cancel != nullptr; }

    // False, and the task is dropped, while another task runs. cancel may
    // be null: the task cannot be cancelled then.
    bool start(const QString& outputPath, Task task, CancelFlag cancel);
    // Sets the running task's flag; false when there is none to set.
    bool requestCancel();

Q_SIGNALS:
    // The task ended; cancelled: its flag had been set. Not busy any more.
    void finished(const velk::ExportResult& result, bool cancelled);

private:
    void taskFinished();

    QFutureWatcher<ExportResult>* m_watcher = nullptr;
    bool m_busy = false;
    QString m_pendingOutputPath;
    CancelFlag m_cancel;
};

} // namespace velk
