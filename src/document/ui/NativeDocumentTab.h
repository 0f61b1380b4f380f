#pragma once

// The main window's page for one document. Opens the document in the
// background (asking for its password at most three times), shows it in a
// PdfCanvas under two tool bars, finds text and lists sticky notes through
// the sandboxed worker, and turns clicks on pages into requests to add
// text, a sticky note or a shape. It never writes a file: placement ends in
// a signal that the main window turns into an operation.
//
// GUI thread only. Owned by the main window's tab widget; owns its widgets,
// its watchers and the cancellation flag it shares with its background
// jobs (one open, one search and one notes listing at most). Destroying
// the tab sets the flag, which stops a running open copy and any worker
// run of the tab.

#include "worker/runner/CancelFlag.h"
#include "document/view/DocumentReading.h"
#include "document/view/DocumentSearch.h"
#include "document/core/PdfDocument.h"
#include "document/view/PlacementState.h"
#include "document/view/SearchSession.h"
#include "document/ui/TabPrompts.h"
#include "worker/runner/WorkerReply.h"

#include <QFutureWatcher>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <QList>

#include <memory>

class QLabel;

namespace velk {

class DocumentSideBar;
class OutlinePanel;
class ThumbnailStrip;
class PdfCanvas;
struct DocumentToolbars;

class NativeDocumentTab : public QWidget {
    Q_OBJECT

public:
    explicit NativeDocumentTab(QWidget* parent = nullptr);
    // Questions are asked through prompts instead of Qt's dialogs.
    explicit NativeDocumentTab(TabPrompts prompts, QWidget* parent = nullptr);
    ~NativeDocumentTab() override;

    // Empty when the open started, else the sentence that refused it.
    QString openFile(const QString& path);
    // Shows a document that is already open and inspected, as a finished
    // open would; ignored while an open runs or a document is shown.
    void setDocument(PdfDocumentPtr document);

    QString sourcePath() const { return m_sourcePath; }
    PdfDocumentPtr document() const { return m_document; }
    int currentPage() const;
    PdfCanvas* pageView() const { return m_view; }
    OutlinePanel* outlinePanel() const { return m_outline; }
    ThumbnailStrip* thumbnailStrip() const;
    QString message() const;
    // The text of the last selection on a page, as the worker read it.
    QString selectedText() const { return m_selectedText; }

public Q_SLOTS:
    void findNext();
    void findPrevious();
    void showNotes();
    void startTextPlacement(bool note);
    // kind: "highlight", "rectangle" or "ellipse".
    void startAreaPick(const QString& kind);
    void setEditingEnabled(bool allowed);
    void cancelPlacement();
    // Ends a placement without a word, as when the user turns to another
    // tab; a placement message still shown gives way to the document's own.
    void resetPlacement();
    // Puts the selected text on the clipboard.
    void copySelection();

Q_SIGNALS:
    void ready();
    void openFailed(const QString& message);
    // The user cancelled the password question: after openFailed, the tab
    // has nothing more to show and its window closes it.
    void passwordCancelled();
    void editRequested(velk::PdfDocumentPtr document, int page, QPointF position, QString text, bool note,
                       double size);
    void annotationRequested(velk::PdfDocumentPtr document, int page, QString kind, QRectF area);

private:
    void buildLayout();
    void connectControls();
    void beginOpen(SecretBytesPtr password);
    void startSearch(bool backward);
    void queryEdited();
    void openFinished();
    void searchFinished();
    void notesFinished();
    void pageClicked(int page, QPointF position);
    void followLink(int page, QPointF position);
    void queueLinks(int page);
    void runIdleListing();
    void linksFinished();
    void outlineFinished();
    void areaSelected(int page, QRectF area);
    void selectionFinished();
    void showMessage(const QString& text);
    void refreshCursor();
    bool isProtected() const;
    std::optional<QString> askPlacementText(bool note);

    TabPrompts m_prompts;
    QString m_sourcePath;
    PdfDocumentPtr m_document;
    PdfCanvas* m_view = nullptr;
    std::unique_ptr<DocumentToolbars> m_toolbars;
    QLabel* m_message = nullptr;
    QFutureWatcher<PdfOpenResult>* m_openWatcher = nullptr;
    QFutureWatcher<PdfSearchResult>* m_searchWatcher = nullptr;
    QFutureWatcher<WorkerReply>* m_notesWatcher = nullptr;
    QFutureWatcher<PageLinksResult>* m_linksWatcher = nullptr;
    QFutureWatcher<OutlineResult>* m_outlineWatcher = nullptr;
    DocumentSideBar* m_sideBar = nullptr;
    OutlinePanel* m_outline = nullptr;
    QFutureWatcher<SelectionTextResult>* m_selectionWatcher = nullptr;
    QString m_selectedText;
    bool m_readingSelection = false;
    // Pages whose links are wanted, in the order they were painted. One
    // listing (the outline first, then links) runs at a time, and only
    // while the page view renders nothing: pages come first.
    QList<int> m_linkQueue;
    bool m_listing = false;
    bool m_outlineRequested = false;
    CancelFlag m_cancel;
    int m_passwordAttempts = 0;
    SearchSession m_search;
    bool m_searchingBackward = false;
    bool m_opening = false;
    bool m_searching = false;
    bool m_listingNotes = false;
    bool m_editingAllowed = false;
    PlacementState m_placement;
};

} // namespace velk
