#include "app/ExportRunner.h"

#include <QtConcurrent/QtConcurrentRun>

namespace velk {

ExportRunner::ExportRunner(QObject* parent)
    : QObject(parent)
    , m_watcher(new QFutureWatcher<ExportResult>(this))
{
    connect(m_watcher, &QFutureWatcherBase::finished, this, &ExportRunner::taskFinished);
}

ExportRunner::~ExportRunner()
{
    if (m_cancel)
        m_cancel->exchange(true);
}

bool ExportRunner::start(const QString& outputPath, Task task, CancelFlag cancel)
{
    if (m_busy || !task)
        return false;
    m_busy = true;
    m_pendingOutputPath = outputPath;
    m_cancel = std::move(cancel);
    m_watcher->setFuture(QtConcurrent::run(std::move(task)));
    return true;
}

bool ExportRunner::requestCancel()
{
    if (!m_busy || !m_cancel)
        return false;
    m_cancel->exchange(true);
    return true;
}

void ExportRunner::taskFinished()
{
    const QFuture<ExportResult> future = m_watcher->future();
    const ExportResult result = future.resultCount() > 0 ? future.result() : ExportResult{};
    const bool cancelled = m_cancel && m_cancel->load();
    m_cancel.reset();
    m_busy = false;
    Q_EMIT finished(result, cancelled);
}

} // namespace velk
