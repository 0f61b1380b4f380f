#include "operations/FormCommands.h"

#include "operations/OutputNames.h"

#include "operations/ApplyEdit.h"
#include "operations/FillForm.h"
#include "operations/FormFillDialog.h"
#include "document/ui/NativeDocumentTab.h"

namespace velk {

FormCommands::FormCommands(QWidget* window, EditCommandHost host, FormCommandPrompts prompts)
    : QObject(window)
    , m_window(window)
    , m_host(std::move(host))
    , m_prompts(std::move(prompts))
{
}

void FormCommands::fillForm()
{
    const NativeDocumentTab* tab = m_host.currentDocumentTab();
    if (!tab || !tab->document() || m_host.isBusy())
        return;
    // Held here: the tab may close while the dialog runs.
    const PdfDocumentPtr document = tab->document();
    EditPrompts prompts;
    prompts.warning = m_prompts.warning;
    const std::optional<QJsonObject> request =
        fillFormDialog(m_window, document, prompts, [](FormFillDialog& dialog) { return dialog.exec(); });
    if (!request)
        return;
    const QString destination = m_prompts.saveFileName(m_window, QStringLiteral("Doldurulan formu kaydet"),
                                                       OutputNames::derived(document->sourcePath, QString::fromLatin1(OutputKind::kFilled)),
                                                       QStringLiteral("PDF belgeleri (*.pdf)"));
    if (destination.isEmpty())
        return;
    m_host.startExport(
        destination,
        [document, request = *request, destination] { return applyEdit(document, request, destination); },
        nullptr);
}

} // namespace velk
