#include "StartWindow.h"

#include "AppIdentity.h"
#include "DetailsPanel.h"
#include "SidePanels.h"
#include "StartPage.h"
#include "ToolsPanel.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QTabWidget>

namespace velk {

namespace {

QAction* makeAction(QObject* parent, const QString& text, const QString& toolTip, bool enabled)
{
    auto* action = new QAction(text, parent);
    action->setToolTip(toolTip);
    action->setEnabled(enabled);
    return action;
}

} // namespace

StartWindow::StartWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QString::fromUtf8(kApplicationName));
    resize(1280, 840);
    setMinimumSize(760, 540);
    createActions();

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(new StartPage(m_actions.open, m_actions.blankPdf, m_actions.imagesToPdf, m_tabs),
                   QStringLiteral("Başlangıç"));
    setCentralWidget(m_tabs);

    m_toolsPanel = new ToolsPanel(m_actions, false, this);
    m_detailsPanel = new DetailsPanel(this);
    installSidePanels(*this, m_toolsPanel, m_detailsPanel, menuBar()->addMenu(QStringLiteral("&Görünüm")));
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { m_detailsPanel->updateDetailsPanel(*m_tabs, index); });
}

void StartWindow::createActions()
{
    // No document can be open here, and no task is running.
    m_actions.open = makeAction(this, QStringLiteral("PDF &aç…"),
                                QStringLiteral("Yerel bir PDF belgesini yeni sekmede aç"), true);
    m_actions.open->setShortcut(QKeySequence::Open);
    m_actions.blankPdf = makeAction(this, QStringLiteral("&Boş PDF oluştur…"),
                                    QStringLiteral("Yeni bir A4 PDF belgesi oluştur ve kaydet"), true);
    m_actions.blankPdf->setShortcut(QKeySequence::New);
    m_actions.imagesToPdf = makeAction(
        this, QStringLiteral("&Görsellerden PDF…"),
        QStringLiteral("PNG, JPEG veya BMP görsellerini sırasıyla PDF sayfalarına dönüştür"), true);
    m_actions.officeToPdf = makeAction(this, QStringLiteral("Word / ODT / RTF'den PDF…"),
                                       QStringLiteral("LibreOffice Writer ile yerel ve yalıtılmış PDF dönüşümü"), false);
    m_actions.officeToPdf->setVisible(false);
    m_actions.editText = makeAction(this, QStringLiteral("Mevcut metni değiştir veya sil…"),
                                    QStringLiteral("Geçerli sayfadaki metin nesnesini düzenle veya kaldır"), false);
    m_actions.fillForm = makeAction(this, QStringLiteral("PDF formunu doldur…"),
                                    QStringLiteral("Belgedeki standart metin ve seçim alanlarını doldur"), false);
    m_actions.organizePages = makeAction(
        this, QStringLiteral("Sayfaları düzenle ve ayır…"),
        QStringLiteral("Sayfa sıralama, silme, döndürme ve seçilen sayfaları yeni PDF'ye ayırma"), false);
    m_actions.merge = makeAction(this, QStringLiteral("PDF birleştir…"),
                                 QStringLiteral("Birden fazla PDF'yi istediğiniz sırada yeni bir belgede birleştir"), true);
    m_actions.ocr = makeAction(
        this, QStringLiteral("OCR ile aranabilir PDF oluştur…"),
        QStringLiteral("Türkçe/İngilizce taramaları yerel olarak tanı ve yeni aranabilir PDF oluştur"), false);
    setActionIcons(m_actions);
}

} // namespace velk
