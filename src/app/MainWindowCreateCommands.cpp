// The main window's creation and OCR commands: "&Boş PDF oluştur…",
// "&Görsellerden PDF…", the office conversion and "OCR ile aranabilir PDF
// oluştur…". Each asks its questions here and runs its task through
// startExport; only OCR and the office conversion can be cancelled.

#include "MainWindow.h"

#include "NativeDocumentTab.h"
#include "OcrTask.h"
#include "PageRanges.h"
#include "PdfCreateService.h"

#include <QAction>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QStatusBar>

#include <algorithm>
#include <atomic>

namespace velk {

namespace {

constexpr int kMaxBlankPages = 100;
constexpr int kMaxImages = 100;
constexpr int kMaxOcrPages = 100;

QString pdfFilter()
{
    return QStringLiteral("PDF belgeleri (*.pdf)");
}

} // namespace

void MainWindow::connectCreateCommands()
{
    connect(m_actions.blankPdf, &QAction::triggered, this, &MainWindow::createBlank);
    connect(m_actions.imagesToPdf, &QAction::triggered, this, &MainWindow::convertImages);
    connect(m_actions.officeToPdf, &QAction::triggered, this, &MainWindow::convertOffice);
    connect(m_actions.ocr, &QAction::triggered, this, &MainWindow::ocrDocument);
}

void MainWindow::createBlank()
{
    bool accepted = false;
    const int count = QInputDialog::getInt(this, QStringLiteral("Boş PDF"), QStringLiteral("A4 sayfa sayısı"), 1, 1,
                                           kMaxBlankPages, 1, &accepted);
    if (!accepted)
        return;
    const QString destination =
        m_prompts.saveFileName(this, QStringLiteral("PDF kaydet"), QStringLiteral("belge.pdf"), pdfFilter());
    if (destination.isEmpty())
        return;
    startExport(destination, [destination, count] { return PdfCreateService::blank(destination, count); }, nullptr);
}

void MainWindow::convertImages()
{
    const QStringList images = m_prompts.openFileNames(this, QStringLiteral("Görselleri seç"),
                                                       QStringLiteral("Görseller (*.png *.jpg *.jpeg *.bmp)"));
    if (images.isEmpty())
        return;
    if (images.size() > kMaxImages) {
        m_prompts.warning(this, QStringLiteral("Görsel sınırı"), QStringLiteral("En fazla 100 görsel seçin."));
        return;
    }
    const QString destination =
        m_prompts.saveFileName(this, QStringLiteral("PDF kaydet"), QStringLiteral("gorseller.pdf"), pdfFilter());
    if (destination.isEmpty())
        return;
    startExport(destination, [destination, images] { return createFromImages(destination, images); }, nullptr);
}

void MainWindow::convertOffice()
{
    if (isBusy())
        return;
    const QString source = m_prompts.openFileName(this, QStringLiteral("Word / ODT / RTF belgesi"),
                                                  QStringLiteral("Metin belgeleri (*.docx *.doc *.odt *.rtf)"));
    if (source.isEmpty())
        return;
    const QString destination =
        m_prompts.saveFileName(this, QStringLiteral("Dönüştürülen PDF'yi kaydet"),
                               QFileInfo(source).completeBaseName() + QStringLiteral(".pdf"), pdfFilter());
    if (destination.isEmpty())
        return;
    const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
    startExport(destination, [source, destination] { return convertOfficeDocument(source, destination); }, cancel);
}

void MainWindow::ocrDocument()
{
    const NativeDocumentTab* tab = currentDocumentTab();
    const PdfDocumentPtr document = tab ? tab->document() : nullptr;
    if (!document)
        return;
    bool accepted = false;
    const QString text = QInputDialog::getText(
        this, QStringLiteral("Yerel OCR"),
        QStringLiteral("OCR yapılacak tarama sayfaları (en fazla 100).\nOrijinal sayfa görünümü korunarak yeni bir "
                       "aranabilir PDF oluşturulur."),
        QLineEdit::Normal, QStringLiteral("1-%1").arg(std::min(document->pageCount(), kMaxOcrPages)), &accepted);
    if (!accepted)
        return;
    const PageRangeResult range = parsePageRanges(text, document->pageCount());
    if (!range.error.isEmpty() || range.pages.size() > kMaxOcrPages) {
        m_prompts.warning(this, QStringLiteral("OCR sayfa seçimi"),
                          range.error.isEmpty() ? QStringLiteral("En fazla 100 sayfa seçin.") : range.error);
        return;
    }
    const QString destination = m_prompts.saveFileName(this, QStringLiteral("Aranabilir PDF'yi kaydet"),
                                                       QStringLiteral("aranabilir.pdf"), pdfFilter());
    if (destination.isEmpty())
        return;
    startOcr(document, range.pages, destination);
}

void MainWindow::startOcr(const PdfDocumentPtr& document, const QList<int>& pages, const QString& destination)
{
    const CancelFlag cancel = std::make_shared<std::atomic<bool>>(false);
    // Shown from the task's thread through the window's event queue, so a
    // page's message always comes before the task's final status.
    const QPointer<MainWindow> window(this);
    const OcrProgress progress = [window](int position, int count) {
        QMetaObject::invokeMethod(
            window.data(),
            [window, position, count] {
                if (window && window->isBusy())
                    window->statusBar()->showMessage(QStringLiteral("OCR: sayfa %1 / %2").arg(position).arg(count));
            },
            Qt::QueuedConnection);
    };
    startExport(destination,
                [document, pages, destination, cancel, progress] {
                    return recognizeDocument(document, pages, destination, cancel, progress);
                },
                cancel);
}

} // namespace velk
