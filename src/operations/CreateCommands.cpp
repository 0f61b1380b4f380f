#include "operations/CreateCommands.h"

#include "operations/OutputNames.h"

#include "document/ui/NativeDocumentTab.h"
#include "operations/OcrTask.h"
#include "operations/PageRanges.h"
#include "operations/PdfCreateService.h"

#include "worker/contract/SharedLimits.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <atomic>

namespace velk {

namespace {

constexpr int kMaxBlankPages = 100;
constexpr int kMaxImages = SharedLimits::kMaxImages;
constexpr int kMaxOcrPages = SharedLimits::kMaxOcrPages;

QString pdfFilter()
{
    return QStringLiteral("PDF belgeleri (*.pdf)");
}

} // namespace

CreateCommands::CreateCommands(QWidget* window, EditCommandHost host, CreateCommandPrompts prompts,
                               std::function<void(const QString& message)> showStatus)
    : QObject(window)
    , m_window(window)
    , m_host(std::move(host))
    , m_prompts(std::move(prompts))
    , m_showStatus(std::move(showStatus))
{
}

void CreateCommands::createBlank()
{
    bool accepted = false;
    const int count = QInputDialog::getInt(m_window, QStringLiteral("Boş PDF"), QStringLiteral("A4 sayfa sayısı"), 1,
                                           1, kMaxBlankPages, 1, &accepted);
    if (!accepted)
        return;
    const QString destination =
        m_prompts.saveFileName(m_window, QStringLiteral("PDF kaydet"), QStringLiteral("belge.pdf"), pdfFilter());
    if (destination.isEmpty())
        return;
    m_host.startExport(destination, [destination, count] { return PdfCreateService::blank(destination, count); },
                       nullptr);
}

void CreateCommands::convertImages()
{
    const QStringList images = m_prompts.openFileNames(m_window, QStringLiteral("Görselleri seç"),
                                                       QStringLiteral("Görseller (*.png *.jpg *.jpeg *.bmp)"));
    if (images.isEmpty())
        return;
    if (images.size() > kMaxImages) {
        m_prompts.warning(m_window, QStringLiteral("Görsel sınırı"),
                          QStringLiteral("En fazla 100 görsel seçin."));
        return;
    }
    const QString destination =
        m_prompts.saveFileName(m_window, QStringLiteral("PDF kaydet"), OutputNames::derived(images.first(), QString()),
                               pdfFilter());
    if (destination.isEmpty())
        return;
    m_host.startExport(destination, [destination, images] { return createFromImages(destination, images); },
                       nullptr);
}

void CreateCommands::convertOffice()
{
    if (m_host.isBusy())
        return;
    const QString source = m_prompts.openFileName(m_window, QStringLiteral("Word / ODT / RTF belgesi"),
                                                  QStringLiteral("Metin belgeleri (*.docx *.doc *.odt *.rtf)"));
    if (source.isEmpty())
        return;
    const QString destination =
        m_prompts.saveFileName(m_window, QStringLiteral("Dönüştürülen PDF'yi kaydet"),
                               QFileInfo(source).completeBaseName() + QStringLiteral(".pdf"), pdfFilter());
    if (destination.isEmpty())
        return;
    const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
    m_host.startExport(destination, [source, destination] { return convertOfficeDocument(source, destination); },
                       cancel);
}

void CreateCommands::ocrDocument()
{
    const NativeDocumentTab* tab = m_host.currentDocumentTab();
    const PdfDocumentPtr document = tab ? tab->document() : nullptr;
    if (!document)
        return;
    bool accepted = false;
    const QString text = QInputDialog::getText(
        m_window, QStringLiteral("Yerel OCR"),
        QStringLiteral("OCR yapılacak tarama sayfaları (en fazla 100).\nOrijinal sayfa görünümü korunarak yeni bir "
                       "aranabilir PDF oluşturulur."),
        QLineEdit::Normal, QStringLiteral("1-%1").arg(std::min(document->pageCount(), kMaxOcrPages)), &accepted);
    if (!accepted)
        return;
    const PageRangeResult range = parsePageRanges(text, document->pageCount());
    if (!range.error.isEmpty() || range.pages.size() > kMaxOcrPages) {
        m_prompts.warning(m_window, QStringLiteral("OCR sayfa seçimi"),
                          range.error.isEmpty() ? QStringLiteral("En fazla 100 sayfa seçin.") : range.error);
        return;
    }
    const QString destination = m_prompts.saveFileName(m_window, QStringLiteral("Aranabilir PDF'yi kaydet"),
                                                       OutputNames::derived(document->sourcePath, QString::fromLatin1(OutputKind::kSearchable)), pdfFilter());
    if (destination.isEmpty())
        return;
    startOcr(document, range.pages, destination);
}

void CreateCommands::startOcr(const PdfDocumentPtr& document, const QList<int>& pages, const QString& destination)
{
    const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
    // Shown from the task's thread through the window's event queue, so a
    // page's message always comes before the task's final status.
    const QPointer<CreateCommands> commands(this);
    const OcrProgress progress = [commands](int position, int count) {
        QMetaObject::invokeMethod(
            commands.data(),
            [commands, position, count] {
                if (commands && commands->m_host.isBusy())
                    commands->m_showStatus(QStringLiteral("OCR: sayfa %1 / %2").arg(position).arg(count));
            },
            Qt::QueuedConnection);
    };
    m_host.startExport(destination,
                       [document, pages, destination, cancel, progress] {
                           return recognizeDocument(document, pages, destination, cancel, progress);
                       },
                       cancel);
}

} // namespace velk
