#pragma once

// One print run in the background: PrintTask on the global thread pool,
// its progress and its end reported back on the GUI thread. At most one run
// at a time. GUI thread; owned by the main window; owns the printer of the
// running print until the run ends (the task uses it meanwhile).

#include "document/core/PdfDocument.h"
#include "operations/PrintTask.h"
#include "worker/runner/CancelFlag.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>

class QPrinter;

namespace velk {

class PrintCommand : public QObject {
    Q_OBJECT

public:
    explicit PrintCommand(QObject* parent = nullptr);
    ~PrintCommand() override;

    // False (and nothing started) while a run is going on.
    bool start(PdfDocumentPtr document, std::unique_ptr<QPrinter> printer, const PrintPlan& plan);
    bool isRunning() const { return bool(m_printer); }
    // Stops the run after the page being drawn.
    void cancel();

Q_SIGNALS:
    // Before each sheet: "Yazdırılıyor: sayfa %1 / %2" with these numbers.
    void progressed(int position, int count);
    void finished(const velk::ExportResult& result, bool cancelled);

private:
    void taskFinished();

    QFutureWatcher<ExportResult>* m_watcher = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    CancelFlag m_cancel;
};

} // namespace velk
