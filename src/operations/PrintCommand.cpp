#include "operations/PrintCommand.h"

#include <QPointer>
#include <QPrinter>
#include <QtConcurrent/QtConcurrentRun>

namespace velk {

PrintCommand::PrintCommand(QObject* parent)
    : QObject(parent)
    , m_watcher(new QFutureWatcher<ExportResult>(this))
{
    connect(m_watcher, &QFutureWatcherBase::finished, this, &PrintCommand::taskFinished);
}

PrintCommand::~PrintCommand()
{
    // The task uses the printer until it returns; it must not outlive it.
    if (m_cancel)
        m_cancel->store(true);
    m_watcher->disconnect(this);
    m_watcher->waitForFinished();
}

bool PrintCommand::start(PdfDocumentPtr document, std::unique_ptr<QPrinter> printer, const PrintPlan& plan)
{
    if (isRunning() || !printer)
        return false;
    m_printer = std::move(printer);
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    // Reported through the event queue, so every page's message comes
    // before the end of the run.
    const QPointer<PrintCommand> self(this);
    const PrintProgress progress = [self](int position, int count) {
        QMetaObject::invokeMethod(
            self.data(), [self, position, count] {
                if (self)
                    Q_EMIT self->progressed(position, count);
            },
            Qt::QueuedConnection);
    };
    m_watcher->setFuture(QtConcurrent::run([document = std::move(document), printer = m_printer.get(), plan,
                                            cancel = m_cancel, progress] {
        return PrintTask::print(document, *printer, plan, cancel, progress);
    }));
    return true;
}

void PrintCommand::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

void PrintCommand::taskFinished()
{
    const QFuture<ExportResult> future = m_watcher->future();
    const ExportResult result =
        future.resultCount() > 0 ? future.result() : ExportResult{false, QStringLiteral("Yazdırma tamamlanamadı.")};
    const bool cancelled = m_cancel && m_cancel->load();
    m_printer.reset();
    m_cancel.reset();
    Q_EMIT finished(result, cancelled);
}

} // namespace velk
