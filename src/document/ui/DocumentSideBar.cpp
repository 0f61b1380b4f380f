#include "document/ui/DocumentSideBar.h"

#include "document/ui/OutlinePanel.h"
#include "document/ui/PdfCanvas.h"
#include "document/ui/ThumbnailStrip.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velk {

DocumentSideBar::DocumentSideBar(PdfCanvas* view, QWidget* parent)
    : QSplitter(Qt::Vertical, parent)
    , m_view(view)
{
    setObjectName(QStringLiteral("documentSideBar"));
    setChildrenCollapsible(true);
    // Nothing to show before a document is.
    setVisible(false);
    auto* pages = new QWidget(this);
    auto* title = new QLabel(QStringLiteral("Sayfalar"), pages);
    title->setContentsMargins(4, 2, 4, 2);
    m_thumbnails = new ThumbnailStrip([view] { return view->isRendering(); }, pages);
    auto* layout = new QVBoxLayout(pages);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addWidget(m_thumbnails, 1);
    addWidget(pages);
    m_outline = new OutlinePanel(this);
    addWidget(m_outline);

    connect(m_thumbnails, &ThumbnailStrip::pageChosen, this, &DocumentSideBar::goToPage);
    connect(m_outline, &OutlinePanel::pageChosen, this, &DocumentSideBar::goToPage);
    connect(view, &PdfCanvas::currentPageChanged, m_thumbnails, &ThumbnailStrip::setCurrentPage);
    // The strip waits while the page view renders; these end the wait.
    connect(view, &PdfCanvas::pageRendered, m_thumbnails, &ThumbnailStrip::schedule);
    connect(view, &PdfCanvas::renderingIdle, m_thumbnails, &ThumbnailStrip::schedule);
}

void DocumentSideBar::setDocument(PdfDocumentPtr document)
{
    setVisible(document != nullptr);
    m_thumbnails->setDocument(std::move(document));
    m_thumbnails->setCurrentPage(m_view->currentPage());
}

void DocumentSideBar::goToPage(int page)
{
    m_view->goToPage(page);
    m_view->setFocus(Qt::OtherFocusReason);
}

} // namespace velk
