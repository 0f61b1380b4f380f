// The main window's form command: "PDF formunu doldur…", handed to
// FormCommands with this window as its host.

#include "app/MainWindow.h"

#include "operations/FormCommands.h"

#include <QAction>

namespace velk {

void MainWindow::connectFormCommands()
{
    FormCommandPrompts prompts{m_prompts.saveFileName, m_prompts.warning};
    m_formCommands = new FormCommands(this, commandHost(), std::move(prompts));
    connect(m_actions.fillForm, &QAction::triggered, this, &MainWindow::fillForm);
}

void MainWindow::fillForm()
{
    m_formCommands->fillForm();
}

} // namespace velk
