// Dosya › "Yazdır…": the system print dialog (CUPS through Qt), then the
// pages drawn by the sandboxed worker painted onto the printer in the
// background, with "Yazdırılıyor: sayfa %1 / %2" in the status bar and the
// status bar's cancel button stopping the run after the current page.
// While printing the window is busy like during any other task.

#include "app/MainWindow.h"

#include "document/ui/NativeDocumentTab.h"
#include "operations/PrintCommand.h"
#include "operations/PrintTask.h"

#include <QAction>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>

namespace velk {

namespace {

constexpr int kPrintedMessageMs = 10000;

} // namespace

void MainWindow::printDocument()
{
    const NativeDocumentTab* tab = currentDocumentTab();
    const PdfDocumentPtr document = tab ? tab->document() : nullptr;
    if (!document || isBusy())
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::PrinterResolution);
    // What the dialog does not change is printed at 300 dpi.
    printer->setResolution(PrintTask::kDefaultDpi);
    printer->setDocName(tab->sourcePath().section(QLatin1Char('/'), -1));
    // Taken now: the dialog runs an event loop, in which the tab may go.
    const int currentPage = tab->currentPage();
    if (!m_prompts.printSetup(this, *printer, document->pageCount()) || isBusy())
        return;
    const PrintPlan plan = PrintTask::plan(*printer, document->pageCount(), currentPage);
    if (!m_print->start(document, std::move(printer), plan))
        return;
    setBusy(true);
    m_cancelButton->setEnabled(true);
    m_cancelButton->setVisible(true);
    statusBar()->showMessage(QStringLiteral("Yazdırılıyor…"));
}

void MainWindow::printFinished(const ExportResult& result, bool cancelled)
{
    setBusy(false);
    if (result.ok) {
        statusBar()->showMessage(QStringLiteral("Yazdırma tamamlandı."), kPrintedMessageMs);
        return;
    }
    if (cancelled) {
        statusBar()->showMessage(QStringLiteral("Yazdırma iptal edildi."));
        return;
    }
    m_prompts.warning(this, QStringLiteral("Yazdırılamadı"), result.message);
    statusBar()->showMessage(QStringLiteral("İşlem tamamlanamadı."));
}

} // namespace velk
