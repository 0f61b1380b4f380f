#include "app/MainWindow.h"

#include "app/AppIdentity.h"
#include "app/DetailsPanel.h"
#include "app/DockAutoCollapse.h"
#include "operations/DocumentEditCommands.h"
#include "document/core/DocumentOpen.h"
#include "app/MainWindowMenus.h"
#include "document/ui/NativeDocumentTab.h"
#include "app/SidePanels.h"
#include "app/StartPage.h"
#include "app/ToolsPanel.h"
#include "update/UpdateDialog.h"
#include "operations/PrintCommand.h"
#include "operations/OutputNames.h"
#include "signing/ui/SignatureVerificationDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include <memory>

namespace velk {

namespace {

// This build ships no office converter: the availability query answers no.
constexpr bool kOfficeConversionAvailable = false;
constexpr int kSavedMessageMs = 10000;

const QString kPdfFilter = QStringLiteral("PDF belgeleri (*.pdf)");

void setActionsEnabled(std::initializer_list<QAction*> actions, bool enabled)
{
    for (QAction* action : actions)
        action->setEnabled(enabled);
}

// Canonical path of an existing file, empty otherwise; a zero character
// would cut the path short below Qt.
QString canonicalPathOf(const QString& path)
{
    return path.contains(QChar(0)) ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : MainWindow(MainWindowPrompts::dialogs(), parent)
{
}

MainWindow::MainWindow(MainWindowPrompts prompts, QWidget* parent)
    : QMainWindow(parent)
    , m_prompts(MainWindowPrompts::completed(std::move(prompts)))
    , m_actions(createMainWindowActions(this))
    , m_export(new ExportRunner(this))
{
    setWindowTitle(QString::fromUtf8(kApplicationName));
    resize(1280, 840);
    setMinimumSize(760, 540);
    addMainToolbar(*this, m_actions);
    buildTabs();
    buildPanels();
    buildStatusBar();
    connectCommands();
    updateActions();
}

MainWindow::~MainWindow()
{
    // The children go before this object does; their last signals must not
    // reach handlers that use the panels and tabs being deleted.
    m_tabs->disconnect(this);
    m_tabs->tabBar()->disconnect(this);
    m_export->disconnect(this);
}

void MainWindow::buildTabs()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    m_startPage = new StartPage(m_actions.open, m_actions.blankPdf, m_actions.imagesToPdf, m_tabs);
    m_tabs->addTab(m_startPage, QStringLiteral("Başlangıç"));
    QTabBar* bar = m_tabs->tabBar();
    for (const QTabBar::ButtonPosition side : {QTabBar::LeftSide, QTabBar::RightSide}) {
        if (QWidget* button = bar->tabButton(0, side)) {
            bar->setTabButton(0, side, nullptr);
            button->deleteLater();
        }
    }
    setCentralWidget(m_tabs);

    connect(m_tabs, &QTabWidget::tabCloseRequested, this, &MainWindow::closeTab);
    // Queued: the bar finishes its own move before the start tab goes back.
    connect(bar, &QTabBar::tabMoved, this, &MainWindow::keepStartTabFirst, Qt::QueuedConnection);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        m_detailsPanel->updateDetailsPanel(*m_tabs, index);
        updateActions();
    });
}

void MainWindow::buildPanels()
{
    QMenu* viewMenu = addMainMenus(*this, m_actions);
    m_toolsPanel = new ToolsPanel(m_actions, kOfficeConversionAvailable, this);
    m_detailsPanel = new DetailsPanel(this);
    installSidePanels(*this, m_toolsPanel, m_detailsPanel, viewMenu);
}

void MainWindow::buildStatusBar()
{
    m_cancelButton = new QPushButton(QStringLiteral("İptal"), this);
    m_cancelButton->setToolTip(QStringLiteral("Devam eden işlemi iptal et"));
    statusBar()->addPermanentWidget(m_cancelButton);
    m_cancelButton->hide();
    statusBar()->showMessage(QStringLiteral("Hazır · Belgeler yerel olarak işlenir"));
}

void MainWindow::connectCommands()
{
    connect(m_actions.open, &QAction::triggered, this, &MainWindow::chooseDocument);
    connect(m_actions.saveCopy, &QAction::triggered, this, &MainWindow::saveDocumentCopy);
    connect(m_actions.verifySignatures, &QAction::triggered, this, &MainWindow::verifyDocumentSignatures);
    connect(m_actions.quit, &QAction::triggered, this, &QWidget::close);
    connect(m_actions.fullScreen, &QAction::toggled, this, [this](bool on) {
        if (on)
            showFullScreen();
        else
            showNormal();
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &MainWindow::cancelExport);
    connect(m_export, &ExportRunner::finished, this, &MainWindow::exportFinished);

    // Text-object edits, shapes and the tabs' text, note and shape requests.
    EditPrompts editPrompts;
    editPrompts.saveFileName = m_prompts.saveFileName;
    editPrompts.warning = m_prompts.warning;
    EditCommandHost host{[this] { return isBusy(); }, [this] { return currentDocumentTab(); },
                         [this](const QString& path, ExportRunner::Task task, CancelFlag cancel) {
                             startExport(path, std::move(task), std::move(cancel));
                         }};
    m_editCommands = new DocumentEditCommands(this, std::move(host), std::move(editPrompts));
    connect(m_actions.editText, &QAction::triggered, m_editCommands, &DocumentEditCommands::editExistingText);
    connect(m_actions.addShape, &QAction::triggered, m_editCommands, &DocumentEditCommands::addShape);

    connectPageCommands();
    connectFormCommands();
    connectCreateCommands();
    connect(m_actions.secureUpdate, &QAction::triggered, this, [this] { showUpdateDialog(this); });
    connectDesktopCommands();
}

NativeDocumentTab* MainWindow::currentDocumentTab() const
{
    return qobject_cast<NativeDocumentTab*>(m_tabs->currentWidget());
}

QList<NativeDocumentTab*> MainWindow::documentTabs() const
{
    QList<NativeDocumentTab*> tabs;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (auto* tab = qobject_cast<NativeDocumentTab*>(m_tabs->widget(i)))
            tabs.append(tab);
    }
    return tabs;
}

NativeDocumentTab* MainWindow::findDocumentTab(const QString& canonicalPath) const
{
    if (canonicalPath.isEmpty())
        return nullptr;
    for (NativeDocumentTab* tab : documentTabs()) {
        if (tab->sourcePath() == canonicalPath)
            return tab;
    }
    return nullptr;
}

void MainWindow::openDocument(const QString& path, bool replace)
{
    if (NativeDocumentTab* existing = findDocumentTab(canonicalPathOf(path))) {
        if (!replace) {
            m_tabs->setCurrentWidget(existing);
            return;
        }
        m_tabs->removeTab(m_tabs->indexOf(existing));
        existing->deleteLater();
    }

    auto tab = std::make_unique<NativeDocumentTab>(m_prompts.document);
    connect(tab.get(), &NativeDocumentTab::ready, this, &MainWindow::updateActions);
    connect(tab.get(), &NativeDocumentTab::annotationRequested, this, &MainWindow::handleAnnotationRequest);
    connect(tab.get(), &NativeDocumentTab::editRequested, this, &MainWindow::handleEditRequest);
    watchDocumentTab(tab.get());
    const QString error = tab->openFile(path);
    if (!error.isEmpty()) {
        tab.reset();
        m_prompts.warning(this, QStringLiteral("Belge açılamadı"), error);
        return;
    }
    NativeDocumentTab* page = tab.release();
    const int index = m_tabs->addTab(page, QFileInfo(page->sourcePath()).fileName());
    m_tabs->setTabToolTip(index, page->sourcePath());
    m_tabs->setCurrentIndex(index);
    updateActions();
}

void MainWindow::openDocuments(const QStringList& paths)
{
    for (const QString& path : paths)
        openDocument(path, false);
}

void MainWindow::chooseDocument()
{
    const QString path = m_prompts.openFileName(this, QStringLiteral("PDF aç"), kPdfFilter);
    if (!path.isEmpty())
        openDocument(path, false);
}

void MainWindow::closeTab(int index)
{
    QWidget* page = m_tabs->widget(index);
    if (!page || page == m_startPage)
        return;
    m_tabs->removeTab(index);
    // The tab may be the sender of what is being handled right now.
    page->deleteLater();
}

void MainWindow::keepStartTabFirst()
{
    const int index = m_tabs->indexOf(m_startPage);
    if (index > 0)
        m_tabs->tabBar()->moveTab(index, 0);
}

void MainWindow::updateActions()
{
    const bool idle = !isBusy();
    const NativeDocumentTab* tab = currentDocumentTab();
    const bool document = tab && tab->document();
    const MainWindowActions& a = m_actions;
    setActionsEnabled({a.blankPdf, a.imagesToPdf, a.merge}, idle);
    a.officeToPdf->setEnabled(idle && kOfficeConversionAvailable);
    setActionsEnabled({a.saveCopy, a.editText, a.addShape, a.fillForm, a.organizePages, a.ocr, a.signDocument,
                a.verifySignatures, a.print},
               document && idle);
    setActionsEnabled({a.open, a.quit, a.fullScreen, a.secureUpdate}, true);
    // Placing text, notes and shapes would start a task of its own.
    for (NativeDocumentTab* documentTab : documentTabs())
        documentTab->setEditingEnabled(idle);
}

bool MainWindow::isBusy() const
{
    return m_export->isBusy() || (m_print && m_print->isRunning());
}

bool MainWindow::startExport(const QString& outputPath, ExportRunner::Task task, CancelFlag cancel)
{
    if (isBusy() || !m_export->start(outputPath, std::move(task), std::move(cancel)))
        return false;
    setBusy(true);
    statusBar()->showMessage(QStringLiteral("PDF oluşturuluyor…"));
    return true;
}

void MainWindow::setBusy(bool busy)
{
    const MainWindowActions& a = m_actions;
    if (busy) {
        setActionsEnabled({a.blankPdf, a.imagesToPdf, a.organizePages, a.merge, a.ocr}, false);
        m_cancelButton->setEnabled(true);
        m_cancelButton->setVisible(m_export->canCancel());
    } else {
        setActionsEnabled({a.blankPdf, a.imagesToPdf, a.merge}, true);
        m_cancelButton->hide();
    }
    updateActions();
}

void MainWindow::exportFinished(const ExportResult& result, bool cancelled)
{
    setBusy(false);
    statusBar()->showMessage(QStringLiteral("Hazır"));
    if (result.ok) {
        const QString output = m_export->pendingOutputPath();
        statusBar()->showMessage(QStringLiteral("PDF kaydedildi: %1").arg(QFileInfo(output).fileName()),
                                 kSavedMessageMs);
        // Reopened even when a tab shows it: that tab's copy is stale now.
        openDocument(output, true);
        return;
    }
    if (cancelled) {
        statusBar()->showMessage(QStringLiteral("İşlem iptal edildi."));
        return;
    }
    m_prompts.warning(this, QStringLiteral("PDF oluşturulamadı"), result.message);
    statusBar()->showMessage(QStringLiteral("İşlem tamamlanamadı."));
}

void MainWindow::cancelExport()
{
    if (m_print->isRunning()) {
        m_print->cancel();
        m_cancelButton->setEnabled(false);
        statusBar()->showMessage(QStringLiteral("İptal ediliyor…"));
        return;
    }
    if (!m_export->requestCancel())
        return;
    m_cancelButton->setEnabled(false);
    statusBar()->showMessage(QStringLiteral("İptal ediliyor…"));
}

void MainWindow::saveDocumentCopy()
{
    const NativeDocumentTab* tab = currentDocumentTab();
    if (!tab || !tab->document() || isBusy())
        return;
    const PdfDocumentPtr document = tab->document();
    const QString output = m_prompts.saveFileName(this, QStringLiteral("PDF'yi farklı kaydet"),
                                                  OutputNames::derived(document->sourcePath,
                                                                       QString::fromLatin1(OutputKind::kCopy)),
                                                  kPdfFilter);
    if (output.isEmpty())
        return;
    startExport(output, [document, output] { return copyWorkingCopy(document, output); }, nullptr);
}

void MainWindow::verifyDocumentSignatures()
{
    const NativeDocumentTab* tab = currentDocumentTab();
    if (!tab || !tab->document() || isBusy())
        return;
    showSignatureVerification(this, tab->document(), m_prompts.verification);
}

void MainWindow::handleEditRequest(PdfDocumentPtr document, int page, QPointF position, QString text, bool note,
                                   double size)
{
    m_editCommands->saveTextOrNote(std::move(document), page, position, std::move(text), note, size);
}

void MainWindow::handleAnnotationRequest(PdfDocumentPtr document, int page, QString kind, QRectF area)
{
    m_editCommands->saveAnnotation(std::move(document), page, std::move(kind), area);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (isBusy()) {
        event->ignore();
        statusBar()->showMessage(m_print->isRunning()
                                     ? QStringLiteral("Yazdırılıyor. İşlem tamamlandıktan sonra kapatın.")
                                     : QStringLiteral("PDF kaydediliyor. İşlem tamamlandıktan sonra kapatın."));
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    const int width = event->size().width();
    for (QDockWidget* panel : findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly))
        applyDockAutoCollapse(*panel, *this, width);
}

} // namespace velk
