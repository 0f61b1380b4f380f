// The main window's form command: "PDF formunu doldur…", from the field
// dialog to the filling task.

#include "MainWindow.h"

#include "ApplyEdit.h"
#include "FillForm.h"
#include "FormFillDialog.h"
#include "NativeDocumentTab.h"

#include <QAction>

namespace velk {

void MainWindow::connectFormCommands()
{
    connect(m_actions.fillForm, &QAction::triggered, this, &MainWindow::fillForm);
}

void MainWindow::fillForm()
{
    const NativeDocumentTab* tab = currentDocumentTab();
    if (!tab || !tab->document() || isBusy())
        return;
    // Held here: the tab may close while the dialog runs.
    const PdfDocumentPtr document = tab->document();
    EditPrompts prompts;
    prompts.warning = m_prompts.warning;
    const std::optional<QJsonObject> request =
        fillFormDialog(this, document, prompts, [](FormFillDialog& dialog) { return dialog.exec(); });
    if (!request)
        return;
    const QString destination = m_prompts.saveFileName(this, QStringLiteral("Doldurulan formu kaydet"),
                                                       QStringLiteral("doldurulan-form.pdf"),
                                                       QStringLiteral("PDF belgeleri (*.pdf)"));
    if (destination.isEmpty())
        return;
    startExport(destination, [document, request = *request, destination] {
        return applyEdit(document, request, destination);
    }, nullptr);
}

} // namespace velk
