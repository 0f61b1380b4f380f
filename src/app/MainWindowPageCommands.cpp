// The main window's page commands: "Sayfaları düzenle…" and
// "PDF birleştir…", handed to PageCommands with this window as their host,
// and that host, which the form and creation commands share.

#include "app/MainWindow.h"

#include "operations/PageCommands.h"

#include <QAction>

namespace velk {

void MainWindow::connectPageCommands()
{
    PageCommandPrompts prompts;
    prompts.openFileNames = m_prompts.openFileNames;
    prompts.saveFileName = m_prompts.saveFileName;
    m_pageCommands = new PageCommands(this, commandHost(), std::move(prompts));
    connect(m_actions.organizePages, &QAction::triggered, this, &MainWindow::organizePages);
    connect(m_actions.merge, &QAction::triggered, this, &MainWindow::mergeDocuments);
}

EditCommandHost MainWindow::commandHost()
{
    return EditCommandHost{[this] { return isBusy(); }, [this] { return currentDocumentTab(); },
                           [this](const QString& path, ExportRunner::Task task, CancelFlag cancel) {
                               startExport(path, std::move(task), std::move(cancel));
                           }};
}

void MainWindow::organizePages()
{
    m_pageCommands->organizePages();
}

void MainWindow::mergeDocuments()
{
    m_pageCommands->mergeDocuments();
}

} // namespace velk
