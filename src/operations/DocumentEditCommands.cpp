#include "operations/DocumentEditCommands.h"

#include "operations/OutputNames.h"

#include "operations/AddTextOrNote.h"
#include "operations/ApplyEdit.h"
#include "operations/EditTextObject.h"
#include "document/ui/NativeDocumentTab.h"
#include "operations/ShapeChoice.h"

#include "worker/contract/operations/AnnotateContract.h"

#include <QJsonObject>
#include <QPointer>
#include <QWidget>

namespace velk {

DocumentEditCommands::DocumentEditCommands(QWidget* window, EditCommandHost host, EditPrompts prompts)
    : QObject(window)
    , m_window(window)
    , m_host(std::move(host))
    , m_prompts(EditPrompts::completed(std::move(prompts)))
{
}

NativeDocumentTab* DocumentEditCommands::editableTab() const
{
    if (m_host.isBusy && m_host.isBusy())
        return nullptr;
    NativeDocumentTab* tab = m_host.currentDocumentTab ? m_host.currentDocumentTab() : nullptr;
    return tab && tab->document() ? tab : nullptr;
}

QString DocumentEditCommands::askDestination(const QString& title, const QString& proposedName) const
{
    return m_prompts.saveFileName(m_window, title, proposedName, QStringLiteral("PDF belgeleri (*.pdf)"));
}

void DocumentEditCommands::editExistingText()
{
    NativeDocumentTab* tab = editableTab();
    if (!tab)
        return;
    const PdfDocumentPtr document = tab->document();
    const std::optional<QJsonObject> request =
        editTextObjectDialog(m_window, document, tab->currentPage(), m_prompts);
    if (!request)
        return;
    const QString destination =
        askDestination(QStringLiteral("Düzenlenen PDF'yi farklı kaydet"),
                       OutputNames::derived(document->sourcePath, QString::fromLatin1(OutputKind::kEdited)));
    if (destination.isEmpty() || !m_host.startExport)
        return;
    m_host.startExport(destination, [document, request = *request, destination] {
        return applyEdit(document, request, destination);
    }, nullptr);
}

void DocumentEditCommands::addShape()
{
    // The modal choice lets the event loop run; the tab may not outlive it.
    const QPointer<NativeDocumentTab> tab = editableTab();
    if (!tab)
        return;
    const std::optional<QString> kind = chooseShapeKind(m_window, m_prompts);
    if (kind && tab)
        tab->startAreaPick(*kind);
}

void DocumentEditCommands::saveTextOrNote(PdfDocumentPtr document, int page, QPointF position, QString text,
                                          bool note, double size)
{
    if ((m_host.isBusy && m_host.isBusy()) || !m_host.startExport)
        return;
    const QString destination =
        askDestination(QStringLiteral("Düzenlenmiş PDF'yi kaydet"),
                       OutputNames::derived(document->sourcePath, QString::fromLatin1(OutputKind::kEdited)));
    if (destination.isEmpty())
        return;
    m_host.startExport(destination, [document, page, position, text, note, size, destination] {
        return addTextOrNote(document, page, position, text, note, size, destination);
    }, nullptr);
}

void DocumentEditCommands::saveAnnotation(PdfDocumentPtr document, int page, QString kind, QRectF area)
{
    if ((m_host.isBusy && m_host.isBusy()) || !m_host.startExport)
        return;
    const QString destination =
        askDestination(QStringLiteral("Açıklamalı PDF'yi kaydet"),
                       OutputNames::derived(document->sourcePath, QString::fromLatin1(OutputKind::kAnnotated)));
    if (destination.isEmpty())
        return;
    AnnotateRequest shape;
    shape.page = page;
    shape.kind = kind;
    shape.left = area.left();
    shape.top = area.top();
    shape.right = area.right();
    shape.bottom = area.bottom();
    const QJsonObject request = shape.toJson();
    m_host.startExport(destination, [document, request, destination] {
        return applyEdit(document, request, destination);
    }, nullptr);
}

} // namespace velk
