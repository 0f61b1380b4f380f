#include "operations/PageCommands.h"

#include "operations/OutputNames.h"

#include "operations/MergeOrderDialog.h"
#include "document/ui/NativeDocumentTab.h"
#include "operations/OrganizeDialog.h"
#include "operations/PageTasks.h"

#include <QFileDialog>

namespace velk {

namespace {

QString pdfFilter()
{
    return QStringLiteral("PDF belgeleri (*.pdf)");
}

} // namespace

PageCommandPrompts PageCommandPrompts::dialogs()
{
    PageCommandPrompts prompts;
    prompts.openFileNames = [](QWidget* parent, const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
    };
    prompts.saveFileName = [](QWidget* parent, const QString& title, const QString& proposedName,
                              const QString& filter) {
        return QFileDialog::getSaveFileName(parent, title, proposedName, filter);
    };
    prompts.organize = showOrganizeDialog;
    prompts.mergeOrder = chooseMergeOrder;
    return prompts;
}

PageCommandPrompts PageCommandPrompts::completed(PageCommandPrompts prompts)
{
    PageCommandPrompts standard = dialogs();
    if (!prompts.openFileNames)
        prompts.openFileNames = std::move(standard.openFileNames);
    if (!prompts.saveFileName)
        prompts.saveFileName = std::move(standard.saveFileName);
    if (!prompts.organize)
        prompts.organize = std::move(standard.organize);
    if (!prompts.mergeOrder)
        prompts.mergeOrder = std::move(standard.mergeOrder);
    return prompts;
}

PageCommands::PageCommands(QWidget* window, EditCommandHost host, PageCommandPrompts prompts)
    : QObject(window)
    , m_window(window)
    , m_host(std::move(host))
    , m_prompts(PageCommandPrompts::completed(std::move(prompts)))
{
}

bool PageCommands::canStart() const
{
    // While a task runs the window disables both commands; a task started
    // all the same is dropped by the window's runner.
    return bool(m_host.startExport);
}

void PageCommands::organizePages()
{
    NativeDocumentTab* tab = m_host.currentDocumentTab ? m_host.currentDocumentTab() : nullptr;
    const PdfDocumentPtr document = tab ? tab->document() : nullptr;
    if (!document || !canStart())
        return;
    const std::optional<organize::PageLayout> layout = m_prompts.organize(m_window, document->pageCount());
    if (!layout)
        return;
    const QString destination = m_prompts.saveFileName(m_window, QStringLiteral("Düzenlenen PDF'yi kaydet"),
                                                       OutputNames::derived(document->sourcePath, QString::fromLatin1(OutputKind::kEdited)), pdfFilter());
    if (destination.isEmpty())
        return;
    m_host.startExport(destination, [document, layout = *layout, destination] {
        return organizeDocument(document, layout, destination);
    }, nullptr);
}

void PageCommands::mergeDocuments()
{
    if (!canStart())
        return;
    const QStringList chosen =
        m_prompts.openFileNames(m_window, QStringLiteral("Birleştirilecek PDF'ler"), pdfFilter());
    if (chosen.size() < 2)
        return;
    const QStringList ordered = m_prompts.mergeOrder(m_window, chosen);
    if (ordered.isEmpty())
        return;
    const QString destination = m_prompts.saveFileName(m_window, QStringLiteral("Birleştirilmiş PDF'yi kaydet"),
                                                       OutputNames::derived(ordered.first(), QString::fromLatin1(OutputKind::kMerged)), pdfFilter());
    if (destination.isEmpty())
        return;
    // The limit of 100 files is the task's to enforce.
    m_host.startExport(destination, [ordered, destination] { return mergePdfFiles(ordered, destination); },
                       nullptr);
}

} // namespace velk
