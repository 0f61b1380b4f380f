#pragma once

// The one top-level window of velk-pdf: the start tab and one document tab
// per open file, the menus and the main tool bar, both side panels, and the
// status bar with its cancel button. It wires the commands to the code that
// does the work and runs file-producing tasks one at a time in the
// background; while one runs the window is busy, the commands that would
// start another are disabled and closing is refused.
//
// GUI thread only. Created and owned by main; owns its tabs, actions,
// panels and the runner of the background task.

#include "worker/runner/CancelFlag.h"
#include "app/ExportRunner.h"
#include "app/MainWindowActions.h"
#include "app/MainWindowPrompts.h"
#include "document/core/PdfDocument.h"

#include <QMainWindow>
#include <QPointF>
#include <QRectF>
#include <QStringList>

class QPushButton;
class QTabWidget;

namespace velk {

class CreateCommands;
class DetailsPanel;
class DocumentEditCommands;
struct EditCommandHost;
class FormCommands;
class NativeDocumentTab;
class PageCommands;
class PrintCommand;
class StartPage;
class ToolsPanel;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    // Questions and warnings go through prompts instead of Qt's dialogs.
    explicit MainWindow(MainWindowPrompts prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainWindowActions& actions() const { return m_actions; }
    QTabWidget* tabs() const { return m_tabs; }
    StartPage* startPage() const { return m_startPage; }
    ToolsPanel* toolsPanel() const { return m_toolsPanel; }
    DetailsPanel* detailsPanel() const { return m_detailsPanel; }
    QPushButton* cancelButton() const { return m_cancelButton; }
    // A file-producing task or a print run is going on.
    bool isBusy() const;
    QString pendingOutputPath() const { return m_export->pendingOutputPath(); }
    // The current tab when it shows a document (open or still loading).
    NativeDocumentTab* currentDocumentTab() const;

    // Opens the file in a new tab, or brings its tab forward; replace: an
    // existing tab of the file is closed and the file opened afresh.
    void openDocument(const QString& path, bool replace);
    // Each path in order, as openDocument(path, false).
    void openDocuments(const QStringList& paths);
    // Runs task in the background unless a task already runs (then it is
    // dropped and false returned). outputPath is the file the task writes;
    // it opens when the task succeeds. cancel may be null.
    bool startExport(const QString& outputPath, ExportRunner::Task task, CancelFlag cancel);

public Q_SLOTS:
    void updateActions();
    void saveDocumentCopy();
    void handleEditRequest(velk::PdfDocumentPtr document, int page, QPointF position, QString text, bool note,
                           double size);
    void handleAnnotationRequest(velk::PdfDocumentPtr document, int page, QString kind, QRectF area);
    // "Sayfaları düzenle…" and "PDF birleştir…".
    void organizePages();
    void mergeDocuments();
    // "PDF formunu doldur…".
    void fillForm();
    // "&Boş PDF oluştur…", "&Görsellerden PDF…", the office conversion and
    // "Metni tanı (OCR)…".
    void createBlank();
    void convertImages();
    void convertOffice();
    void ocrDocument();
    // "İmzaları doğrula…" on the current document.
    void verifyDocumentSignatures();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildTabs();
    void buildPanels();
    void buildStatusBar();
    void connectCommands();
    void connectPageCommands();
    void connectFormCommands();
    void connectCreateCommands();
    // The window as the host of its command objects.
    EditCommandHost commandHost();
    void chooseDocument();
    void closeTab(int index);
    void keepStartTabFirst();
    void exportFinished(const ExportResult& result, bool cancelled);
    void setBusy(bool busy);
    void cancelExport();
    NativeDocumentTab* findDocumentTab(const QString& canonicalPath) const;
    QList<NativeDocumentTab*> documentTabs() const;
    // Desktop conventions: closing and switching tabs from the keyboard,
    // "Hakkında", the window title (MainWindowDesktop.cpp).
    void connectDesktopCommands();
    void watchDocumentTab(NativeDocumentTab* tab);
    void closeCurrentTab();
    void switchTab(int step);
    void updateWindowTitle();
    // Recent documents: the start page's list and Dosya › "Son açılanlar".
    void openRecent(const QString& path);
    void refreshRecent();
    void fillRecentMenu();
    // Dosya › "Yazdır…" and the end of a print run (MainWindowPrinting.cpp).
    void printDocument();
    void printFinished(const ExportResult& result, bool cancelled);

    MainWindowPrompts m_prompts;
    MainWindowActions m_actions;
    QTabWidget* m_tabs = nullptr;
    StartPage* m_startPage = nullptr;
    ToolsPanel* m_toolsPanel = nullptr;
    DetailsPanel* m_detailsPanel = nullptr;
    QPushButton* m_cancelButton = nullptr;
    ExportRunner* m_export = nullptr;
    DocumentEditCommands* m_editCommands = nullptr;
    PageCommands* m_pageCommands = nullptr;
    FormCommands* m_formCommands = nullptr;
    CreateCommands* m_createCommands = nullptr;
    PrintCommand* m_print = nullptr;
};

} // namespace velk
