#include "document/ui/NativeDocumentTab.h"

#include "document/core/DocumentOpen.h"
#include "document/ui/DocumentSideBar.h"
#include "document/ui/DocumentToolbars.h"
#include "document/view/DocumentViewLimits.h"
#include "document/view/NoteListing.h"
#include "document/ui/OutlinePanel.h"
#include "document/ui/PdfCanvas.h"
#include "document/view/WebLinks.h"
#include "document/ui/ReadingControls.h"

#include "worker/contract/PdfiumCodes.h"
#include "worker/contract/SecureWipe.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <utility>

namespace velk {

using namespace DocumentViewLimits;

namespace {

// Questions a caller left unanswered go to the standard dialogs.
TabPrompts completed(TabPrompts prompts)
{
    const TabPrompts standard = TabPrompts::dialogs();
    if (!prompts.password)
        prompts.password = standard.password;
    if (!prompts.text)
        prompts.text = standard.text;
    if (!prompts.number)
        prompts.number = standard.number;
    if (!prompts.notes)
        prompts.notes = standard.notes;
    if (!prompts.confirm)
        prompts.confirm = standard.confirm;
    if (!prompts.openUrl)
        prompts.openUrl = standard.openUrl;
    return prompts;
}

} // namespace

NativeDocumentTab::NativeDocumentTab(QWidget* parent)
    : NativeDocumentTab(TabPrompts::dialogs(), parent)
{
}

NativeDocumentTab::NativeDocumentTab(TabPrompts prompts, QWidget* parent)
    : QWidget(parent)
    , m_prompts(completed(std::move(prompts)))
    , m_openWatcher(new QFutureWatcher<PdfOpenResult>(this))
    , m_searchWatcher(new QFutureWatcher<PdfSearchResult>(this))
    , m_notesWatcher(new QFutureWatcher<WorkerReply>(this))
    , m_linksWatcher(new QFutureWatcher<PageLinksResult>(this))
    , m_outlineWatcher(new QFutureWatcher<OutlineResult>(this))
    , m_selectionWatcher(new QFutureWatcher<SelectionTextResult>(this))
    , m_cancel(std::make_shared<std::atomic<bool>>(false))
{
    buildLayout();
    connectControls();
    setEditingEnabled(false);
}

NativeDocumentTab::~NativeDocumentTab()
{
    m_cancel->exchange(true);
}

void NativeDocumentTab::buildLayout()
{
    m_toolbars = std::make_unique<DocumentToolbars>(this);
    m_message = new QLabel(QStringLiteral("Belge yükleniyor…"), this);
    m_message->setObjectName(QStringLiteral("documentMessage"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_view = new PdfCanvas(this);
    m_sideBar = new DocumentSideBar(m_view, this);
    m_outline = m_sideBar->outline();
    // The side bar folds away by dragging; the page takes what it leaves.
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("documentSplit"));
    split->setChildrenCollapsible(true);
    split->addWidget(m_sideBar);
    split->addWidget(m_view);
    split->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbars->documentBar);
    layout->addWidget(m_toolbars->searchBar);
    layout->addWidget(m_message);
    layout->addWidget(split, 1);
}

void NativeDocumentTab::connectControls()
{
    const DocumentToolbars& bars = *m_toolbars;
    connect(bars.pageSpin, &QSpinBox::valueChanged, m_view, [this](int value) { m_view->goToPage(value - 1); });
    connect(m_view, &PdfCanvas::currentPageChanged, this, [this](int index) {
        const QSignalBlocker blocker(m_toolbars->pageSpin);
        m_toolbars->pageSpin->setValue(index + 1);
    });
    connect(bars.zoomCombo, &QComboBox::currentIndexChanged, m_view, &PdfCanvas::setZoomMode);
    connect(bars.viewModeCombo, &QComboBox::currentIndexChanged, m_view, &PdfCanvas::setViewMode);
    connect(bars.filterCombo, &QComboBox::currentIndexChanged, m_view, &PdfCanvas::setReadingFilter);
    connect(bars.searchEdit, &QLineEdit::returnPressed, this, &NativeDocumentTab::findNext);
    connect(bars.searchEdit, &QLineEdit::textChanged, this, &NativeDocumentTab::queryEdited);
    connect(bars.findAction, &QAction::triggered, this, &NativeDocumentTab::findNext);
    connect(bars.textAction, &QAction::triggered, this, [this] { startTextPlacement(false); });
    connect(bars.noteAction, &QAction::triggered, this, [this] { startTextPlacement(true); });
    connect(bars.notesAction, &QAction::triggered, this, &NativeDocumentTab::showNotes);
    connect(m_view, &PdfCanvas::pageClicked, this, &NativeDocumentTab::pageClicked);

    connect(m_openWatcher, &QFutureWatcherBase::finished, this, &NativeDocumentTab::openFinished);
    connect(m_searchWatcher, &QFutureWatcherBase::finished, this, &NativeDocumentTab::searchFinished);
    connect(m_notesWatcher, &QFutureWatcherBase::finished, this, &NativeDocumentTab::notesFinished);
    connect(m_linksWatcher, &QFutureWatcherBase::finished, this, &NativeDocumentTab::linksFinished);
    connect(m_outlineWatcher, &QFutureWatcherBase::finished, this, &NativeDocumentTab::outlineFinished);
    connect(m_view, &PdfCanvas::pageRendered, this, &NativeDocumentTab::queueLinks);
    connect(m_view, &PdfCanvas::areaSelected, this, &NativeDocumentTab::areaSelected);
    connect(m_selectionWatcher, &QFutureWatcherBase::finished, this, &NativeDocumentTab::selectionFinished);
    // "Kopyala" on the page's context menu and as Ctrl+C anywhere in the
    // tab but the text fields, which copy their own text.
    auto* copy = new QAction(QStringLiteral("Kopyala"), m_view);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &NativeDocumentTab::copySelection);
    m_view->addAction(copy);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);

    ReadingControls::install(this, bars, m_view, [this](const QString& text) { showMessage(text); });
    for (const auto& [keys, backward] : {std::pair{QKeySequence(QKeySequence::FindNext), false},
                                         std::pair{QKeySequence(QKeySequence::FindPrevious), true},
                                         std::pair{QKeySequence(Qt::SHIFT | Qt::Key_Return), true},
                                         std::pair{QKeySequence(Qt::SHIFT | Qt::Key_Enter), true}}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, backward = backward] { startSearch(backward); });
    }

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &NativeDocumentTab::cancelPlacement);
}

QString NativeDocumentTab::openFile(const QString& path)
{
    // A zero character would cut the path short below Qt.
    const QFileInfo info(path.contains(QChar(0)) ? QString() : path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return QStringLiteral("PDF dosyası okunamıyor.");
    if (m_opening || m_document)
        return QStringLiteral("Belge oturumu zaten açık.");
    m_sourcePath = info.canonicalFilePath();
    beginOpen(std::make_shared<SecretBytes>());
    return QString();
}

void NativeDocumentTab::beginOpen(SecretBytesPtr password)
{
    m_opening = true;
    m_openWatcher->setFuture(QtConcurrent::run(
        [path = m_sourcePath, password = std::move(password), cancel = m_cancel]() mutable {
            return openPdfDocument(path, std::move(password), cancel);
        }));
}

void NativeDocumentTab::openFinished()
{
    const QFuture<PdfOpenResult> future = m_openWatcher->future();
    const PdfOpenResult result = future.resultCount() > 0 ? future.result() : PdfOpenResult{};
    m_opening = false;
    if (result.document) {
        setDocument(result.document);
        return;
    }
    bool cancelled = false;
    if (result.code == int(PdfOpenError::Password) && m_passwordAttempts < kMaxPasswordAttempts) {
        // The first question follows the open without a password; every
        // later one follows a password that did not open the document.
        const QString notice = m_passwordAttempts > 0 ? QStringLiteral("Parola yanlış. Yeniden deneyin.") : QString();
        if (std::optional<QString> password = m_prompts.password(this, notice)) {
            ++m_passwordAttempts;
            // Only the secret buffer outlives this block.
            SecretBytesPtr secret = std::make_shared<SecretBytes>(SecretBytes::fromText(*password));
            secureWipe(*password);
            beginOpen(std::move(secret));
            return;
        }
        cancelled = true;
    }
    showMessage(result.error);
    Q_EMIT openFailed(result.error);
    if (cancelled)
        Q_EMIT passwordCancelled();
}

namespace {

// How long "Yerleştirme iptal edildi." stays before the document's own
// message returns.
constexpr int kCancelledMessageMs = 4000;

// The message line of an open document between actions.
QString restingMessage(const PdfDocument& document)
{
    if (document.signatureCount > 0)
        return QStringLiteral("Bu belgede %1 imza alanı var. İmzaların geçerliliği henüz doğrulanmadı.")
            .arg(document.signatureCount);
    return QStringLiteral("%1 sayfa · Yerel PDF görüntüleme").arg(document.pageCount());
}

bool isPlacementMessage(const QString& message)
{
    return message.endsWith(QStringLiteral("İptal: Esc.")) || message == QStringLiteral("Daha geniş bir alan seçin.") ||
           message == QStringLiteral("Yerleştirme iptal edildi.");
}

} // namespace

void NativeDocumentTab::setDocument(PdfDocumentPtr document)
{
    if (!document || m_opening || m_document)
        return;
    m_document = std::move(document);
    if (m_sourcePath.isEmpty())
        m_sourcePath = m_document->sourcePath;
    const int pageCount = m_document->pageCount();
    m_toolbars->setPageCount(pageCount);
    m_toolbars->setEnabled(true);
    setEditingEnabled(m_editingAllowed);
    showMessage(restingMessage(*m_document));
    // The side bar first: the page view then lays out at its final width.
    m_sideBar->setDocument(m_document);
    m_view->setDocument(m_document);
    Q_EMIT ready();
}

int NativeDocumentTab::currentPage() const
{
    return m_view->currentPage();
}

ThumbnailStrip* NativeDocumentTab::thumbnailStrip() const
{
    return m_sideBar->thumbnails();
}

QString NativeDocumentTab::message() const
{
    return m_message->text();
}

void NativeDocumentTab::showMessage(const QString& text)
{
    m_message->setText(text);
}

void NativeDocumentTab::findNext()
{
    startSearch(false);
}

void NativeDocumentTab::findPrevious()
{
    startSearch(true);
}

void NativeDocumentTab::queryEdited()
{
    m_search.reset();
    m_view->clearSearchMarks();
}

void NativeDocumentTab::startSearch(bool backward)
{
    const QString query = m_toolbars->searchEdit->text().trimmed();
    if (!m_document || m_searching || query.isEmpty())
        return;
    const SearchStart start = backward ? m_search.previous(m_view->currentPage()) : m_search.next(m_view->currentPage());
    m_searching = true;
    m_searchingBackward = backward;
    m_toolbars->searchEdit->setEnabled(false);
    showMessage(QStringLiteral("Aranıyor…"));
    m_searchWatcher->setFuture(QtConcurrent::run(searchFrom, m_document, query, start, m_cancel));
}

void NativeDocumentTab::searchFinished()
{
    const QFuture<PdfSearchResult> future = m_searchWatcher->future();
    const PdfSearchResult result = future.resultCount() > 0 ? future.result() : PdfSearchResult{};
    m_searching = false;
    m_toolbars->searchEdit->setEnabled(true);
    m_message->setToolTip(QString());
    if (!result.error.isEmpty()) {
        showMessage(result.error);
    } else if (result.page < 0) {
        m_view->clearSearchMarks();
        showMessage(QStringLiteral("Metin bulunamadı. Taranmış belgelerde önce OCR gerekebilir."));
    } else {
        m_search.found(result);
        m_view->goToPage(result.page);
        m_view->setSearchMarks(result.page, result.rects);
        showMessage(SearchSession::statusText(result, m_document->pageCount(), m_searchingBackward));
        // The words around the hit, for whoever wants them.
        m_message->setToolTip(result.snippet);
    }
}

void NativeDocumentTab::showNotes()
{
    if (!m_document || m_listingNotes)
        return;
    m_listingNotes = true;
    m_notesWatcher->setFuture(QtConcurrent::run(listNotes, m_document, m_cancel));
}

void NativeDocumentTab::notesFinished()
{
    const QFuture<WorkerReply> future = m_notesWatcher->future();
    const WorkerReply reply = future.resultCount() > 0 ? future.result() : WorkerReply{};
    m_listingNotes = false;
    if (!reply.error.isEmpty()) {
        showMessage(reply.error);
        return;
    }
    QList<PdfNote> notes;
    const QString error = readNotes(reply.json, m_document->pageCount(), notes);
    if (!error.isEmpty())
        showMessage(error);
    else if (notes.isEmpty())
        showMessage(QStringLiteral("Belgede yapışkan not bulunamadı."));
    else if (const std::optional<int> page = m_prompts.notes(this, notes))
        m_view->goToPage(std::clamp(*page, 0, m_document->pageCount() - 1));
}

bool NativeDocumentTab::isProtected() const
{
    // As "inspect" decided: an unreadable signature reads as signed there.
    return m_document->protection.signedDocument || m_document->protection.encrypted;
}

void NativeDocumentTab::startTextPlacement(bool note)
{
    if (!m_document || !m_editingAllowed)
        return;
    m_placement.clearArea();
    refreshCursor();
    if (isProtected()) {
        showMessage(QStringLiteral("İmzalı veya şifreli belgelere bu sürümde metin/not eklenmez."));
        return;
    }
    const std::optional<QString> text = askPlacementText(note);
    if (!text)
        return;
    if (text->size() > kMaxInsertedTextLength) {
        showMessage(QStringLiteral("En fazla 10000 karakter eklenebilir."));
        return;
    }
    double size = kDefaultTextSize;
    if (!note) {
        const NumberQuestion question{QStringLiteral("Yazı boyutu"), QStringLiteral("Punto"), kDefaultTextSize,
                                      kMinTextSize, kMaxTextSize, 0, 1.0};
        const std::optional<double> chosen = m_prompts.number(this, question);
        if (!chosen)
            return;
        // The answer is a number from outside this class: kept in range.
        size = std::clamp(*chosen, kMinTextSize, kMaxTextSize);
    }
    m_placement.setPendingText(*text, note, size);
    refreshCursor();
    showMessage(QStringLiteral("Yerleştirmek için sayfaya tıklayın. İptal: Esc."));
}

// Nothing when the user cancelled or entered only white space.
std::optional<QString> NativeDocumentTab::askPlacementText(bool note)
{
    const std::optional<QString> text =
        note ? m_prompts.text(this, QStringLiteral("Yapışkan not"), QStringLiteral("Not içeriği"))
             : m_prompts.text(this, QStringLiteral("Metin ekle"), QStringLiteral("Eklenecek metin"));
    if (!text || text->trimmed().isEmpty())
        return std::nullopt;
    return text;
}

void NativeDocumentTab::startAreaPick(const QString& kind)
{
    if (!m_document || !m_editingAllowed || !PlacementState::isAreaKind(kind))
        return;
    if (isProtected()) {
        showMessage(QStringLiteral("İmzalı veya şifreli belge korunur."));
        return;
    }
    m_placement.beginAreaPick(kind);
    refreshCursor();
    showMessage(QStringLiteral("Alanı seçmek için önce bir köşeye, sonra karşı köşeye tıklayın. İptal: Esc."));
}

void NativeDocumentTab::pageClicked(int page, QPointF position)
{
    const PlacementState::Click click = m_placement.click(page, position, m_editingAllowed);
    switch (click.outcome) {
    case PlacementState::Outcome::Ignored:
        followLink(page, position);
        return;
    case PlacementState::Outcome::TextPlaced:
        refreshCursor();
        showMessage(restingMessage(*m_document));
        Q_EMIT editRequested(m_document, page, position, click.text, click.note, click.size);
        return;
    case PlacementState::Outcome::AreaCompleted:
        refreshCursor();
        showMessage(restingMessage(*m_document));
        Q_EMIT annotationRequested(m_document, page, click.kind, click.area);
        return;
    case PlacementState::Outcome::AreaTooSmall:
        showMessage(QStringLiteral("Daha geniş bir alan seçin."));
        return;
    case PlacementState::Outcome::FirstCornerChosen:
        showMessage(QStringLiteral("İlk köşe seçildi. Aynı sayfadaki karşı köşeye tıklayın. İptal: Esc."));
        return;
    }
}

// Only while no placement waits for the click: then a click on a link goes
// where the link goes.
void NativeDocumentTab::followLink(int page, QPointF position)
{
    const std::optional<PageLinkEntry> link = m_view->linkAt(page, position);
    if (!link)
        return;
    if (link->page >= 0) {
        m_view->goToPage(link->page);
        return;
    }
    const QString refusal = WebLinks::open(this, link->uri, m_prompts);
    if (!refusal.isEmpty())
        showMessage(refusal);
}

void NativeDocumentTab::queueLinks(int page)
{
    if (!m_view->hasPageLinks(page) && !m_linkQueue.contains(page))
        m_linkQueue.append(page);
    // After the event that follows: the view starts its next render first.
    QTimer::singleShot(0, this, &NativeDocumentTab::runIdleListing);
}

void NativeDocumentTab::runIdleListing()
{
    if (!m_document || m_listing || m_view->isRendering())
        return;
    if (!m_outlineRequested) {
        m_outlineRequested = true;
        m_listing = true;
        m_outlineWatcher->setFuture(QtConcurrent::run(readOutline, m_document, m_cancel));
        return;
    }
    if (m_linkQueue.isEmpty())
        return;
    m_listing = true;
    m_linksWatcher->setFuture(QtConcurrent::run(listPageLinks, m_document, m_linkQueue.takeFirst(), m_cancel));
}

void NativeDocumentTab::linksFinished()
{
    const QFuture<PageLinksResult> future = m_linksWatcher->future();
    const PageLinksResult result = future.resultCount() > 0 ? future.result() : PageLinksResult{};
    m_listing = false;
    // A page whose links cannot be listed has none to follow; it is not
    // asked for again.
    if (result.page >= 0)
        m_view->setPageLinks(result.page, result.links);
    runIdleListing();
}

void NativeDocumentTab::outlineFinished()
{
    const QFuture<OutlineResult> future = m_outlineWatcher->future();
    const OutlineResult result = future.resultCount() > 0 ? future.result() : OutlineResult{};
    m_listing = false;
    m_outline->setEntries(result.entries);
    runIdleListing();
}

void NativeDocumentTab::areaSelected(int page, QRectF area)
{
    // A drag during placement is a placement, not a selection.
    if (!m_document || m_placement.hasPendingText() || !m_placement.areaKind().isEmpty()) {
        m_view->clearSelection();
        return;
    }
    m_selectedText.clear();
    if (m_readingSelection)
        return;
    m_readingSelection = true;
    m_selectionWatcher->setFuture(QtConcurrent::run(selectionText, m_document, page, area, m_cancel));
}

void NativeDocumentTab::selectionFinished()
{
    const QFuture<SelectionTextResult> future = m_selectionWatcher->future();
    const SelectionTextResult result = future.resultCount() > 0 ? future.result() : SelectionTextResult{};
    m_readingSelection = false;
    if (!result.error.isEmpty()) {
        showMessage(result.error);
        return;
    }
    m_selectedText = result.text;
    if (m_selectedText.trimmed().isEmpty())
        showMessage(QStringLiteral("Seçilen alanda metin yok."));
    else
        showMessage(QStringLiteral("%1 karakter seçildi. Kopyalamak için Ctrl+C.").arg(m_selectedText.size()));
}

void NativeDocumentTab::copySelection()
{
    if (m_selectedText.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(m_selectedText);
    showMessage(QStringLiteral("Seçilen metin panoya kopyalandı."));
}

void NativeDocumentTab::setEditingEnabled(bool allowed)
{
    m_editingAllowed = allowed;
    m_toolbars->textAction->setEnabled(allowed);
    m_toolbars->noteAction->setEnabled(allowed);
    if (!allowed) {
        m_placement.clear();
        refreshCursor();
    }
}

void NativeDocumentTab::cancelPlacement()
{
    m_placement.clear();
    refreshCursor();
    const QString cancelled = QStringLiteral("Yerleştirme iptal edildi.");
    showMessage(cancelled);
    QTimer::singleShot(kCancelledMessageMs, this, [this, cancelled] {
        if (m_document && m_message->text() == cancelled)
            showMessage(restingMessage(*m_document));
    });
}

void NativeDocumentTab::resetPlacement()
{
    m_placement.clear();
    refreshCursor();
    if (m_document && isPlacementMessage(m_message->text()))
        showMessage(restingMessage(*m_document));
}

// A cross while a click is awaited, the normal cursor otherwise.
void NativeDocumentTab::refreshCursor()
{
    if (m_placement.hasPendingText() || !m_placement.areaKind().isEmpty())
        m_view->setCursor(Qt::CrossCursor);
    else
        m_view->unsetCursor();
}

} // namespace velk
