#include "document/ui/PdfCanvas.h"

#include "document/view/DocumentViewLimits.h"
#include "document/view/PageLayout.h"
#include "document/ui/PagePainter.h"
#include "document/view/PageRendering.h"
#include "worker/runner/RunnerMessages.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <utility>

namespace velk {

namespace {

const QColor kBackground(QStringLiteral("#34363B"));

CancelFlag newCancelFlag()
{
    return std::make_shared<std::atomic<bool>>(false);
}

// Runs on a pool thread. The painter's own format is converted once here
// rather than on every paint.
PdfRenderResult renderForDisplay(PdfDocumentPtr document, int pageIndex, int pixelWidth, CancelFlag cancel)
{
    PdfRenderResult result = renderPage(std::move(document), pageIndex, pixelWidth, std::move(cancel));
    if (!result.image.isNull())
        result.image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return result;
}

} // namespace

PdfCanvas::PdfCanvas(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_renderWatcher(new QFutureWatcher<PdfRenderResult>(this))
    , m_cancel(newCancelFlag())
{
    setFrameShape(QFrame::NoFrame);
    // A bar that came and went would change the viewport width, so the
    // layout, so the need for the bar: it stays.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(m_renderWatcher, &QFutureWatcherBase::finished, this, &PdfCanvas::renderFinished);
}

PdfCanvas::~PdfCanvas()
{
    cancelRenders();
}

void PdfCanvas::cancelRenders()
{
    m_cancel->exchange(true);
}

void PdfCanvas::setDocument(PdfDocumentPtr document)
{
    cancelRenders();
    // A new document starts at its top, not where the last one was left.
    m_navigating = true;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    m_navigating = false;
    m_document = std::move(document);
    m_currentPage = 0;
    if (m_document) {
        relayout();
        return;
    }
    // Nothing to show: a new, empty generation.
    m_cancel = newCancelFlag();
    ++m_generation;
    m_pageCache.clear();
    m_pageErrors.clear();
    m_pageRects.clear();
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);
    viewport()->update();
}

void PdfCanvas::setViewMode(int mode)
{
    // Taken first: the new scroll range may move the reading line.
    const int page = m_currentPage;
    m_viewMode = mode;
    relayout();
    goToPage(page);
}

void PdfCanvas::setZoomMode(int mode)
{
    // Taken first: the new scroll range may move the reading line.
    const int page = m_currentPage;
    m_zoomMode = mode;
    relayout();
    goToPage(page);
}

void PdfCanvas::setReadingFilter(int filter)
{
    m_readingFilter = filter;
    viewport()->update();
}

void PdfCanvas::goToPage(int index)
{
    if (!m_document || index < 0 || index >= m_document->pageCount())
        return;
    m_currentPage = index;
    if (m_viewMode == ViewMode::kSinglePage)
        relayout();
    m_navigating = true;
    const int top = scrollExtent(m_pageRects.at(index).top());
    verticalScrollBar()->setValue(std::max(0, top - DocumentViewLimits::kScrollTopMargin));
    m_navigating = false;
    Q_EMIT currentPageChanged(index);
    viewport()->update();
    requestVisiblePage();
}

QImage PdfCanvas::cachedPage(int index) const
{
    const QImage* image = m_pageCache.find(index);
    return image ? *image : QImage();
}

void PdfCanvas::relayout()
{
    if (!m_document)
        return;
    cancelRenders();
    m_cancel = newCancelFlag();
    const int generation = ++m_generation;
    m_pageCache.clear();
    m_pageErrors.clear();

    const PageLayout layout = PageLayout::compute(m_document->pageSizes, viewport()->size(), m_viewMode,
                                                  m_zoomMode, m_currentPage);
    m_pageRects = layout.pageRects;
    horizontalScrollBar()->setRange(0, layout.horizontalRange(viewport()->width()));
    // A horizontal bar that just appeared or went resized the viewport, and
    // the layout that resize ran is the one that holds.
    if (generation != m_generation)
        return;
    verticalScrollBar()->setRange(0, layout.verticalRange(viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
    viewport()->update();
    QTimer::singleShot(0, this, &PdfCanvas::requestVisiblePage);
}

QRectF PdfCanvas::visibleArea() const
{
    return QRectF(QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value()),
                  QSizeF(viewport()->size()));
}

int PdfCanvas::firstPageToRender() const
{
    const QRectF visible = visibleArea();
    for (qsizetype index = 0; index < m_pageRects.size(); ++index) {
        const QRectF& rect = m_pageRects.at(index);
        if (rect.isEmpty())
            continue;
        // Pages are laid out top to bottom in index order.
        if (rect.top() > visible.bottom())
            break;
        const int page = int(index);
        if (rect.intersects(visible) && !m_pageCache.contains(page) && !m_pageErrors.contains(page))
            return page;
    }
    return -1;
}

void PdfCanvas::requestVisiblePage()
{
    if (!m_document || m_rendering)
        return;
    const int page = firstPageToRender();
    if (page < 0)
        return;
    m_pendingPage = page;
    m_requestGeneration = m_generation;
    m_rendering = true;
    const int width = renderWidthFor(m_pageRects.at(page).width(), viewport()->devicePixelRatioF());
    m_renderWatcher->setFuture(QtConcurrent::run(renderForDisplay, m_document, page, width, m_cancel));
}

void PdfCanvas::renderFinished()
{
    const QFuture<PdfRenderResult> future = m_renderWatcher->future();
    const PdfRenderResult result = future.resultCount() > 0 ? future.result() : PdfRenderResult{};
    const int page = m_pendingPage;
    if (m_requestGeneration == m_generation && page >= 0) {
        if (!result.image.isNull()) {
            // Cannot fail for an image within the render bounds; if it did,
            // an error keeps the page from being asked for over and over.
            if (m_pageCache.insert(page, result.image))
                Q_EMIT pageRendered(page);
            else
                m_pageErrors.insert(page, RunnerMessages::pagePixelsInvalid());
        } else if (!m_cancel->load()) {
            m_pageErrors.insert(page, result.error);
        }
    }
    m_pendingPage = -1;
    m_rendering = false;
    viewport()->update();
    requestVisiblePage();
}

void PdfCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kBackground);
    const QRectF visible = visibleArea();
    const QPointF offset = -visible.topLeft();
    for (qsizetype index = 0; index < m_pageRects.size(); ++index) {
        const QRectF& rect = m_pageRects.at(index);
        if (rect.isEmpty())
            continue;
        if (rect.top() > visible.bottom())
            break;
        if (!rect.intersects(visible))
            continue;
        const int page = int(index);
        PagePainter pagePainter(painter, rect.translated(offset), QRectF(viewport()->rect()));
        pagePainter.paintPaper();
        if (const QImage* image = m_pageCache.find(page))
            pagePainter.paintImage(*image, m_readingFilter);
        else
            pagePainter.paintText(m_pageErrors.value(page, QStringLiteral("Sayfa %1 yükleniyor…").arg(page + 1)));
    }
}

void PdfCanvas::scrollContentsBy(int, int)
{
    if (m_document && m_viewMode != ViewMode::kSinglePage && !m_navigating) {
        const int page = pageAtReadingLine(m_pageRects, verticalScrollBar()->value(), viewport()->height());
        if (page >= 0 && page != m_currentPage) {
            m_currentPage = page;
            Q_EMIT currentPageChanged(page);
        }
    }
    viewport()->update();
    requestVisiblePage();
}

void PdfCanvas::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void PdfCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_document) {
        const QPointF point = event->position() + visibleArea().topLeft();
        const int page = pageAt(m_pageRects, point);
        if (page >= 0) {
            Q_EMIT pageClicked(page, pagePosition(m_pageRects.at(page), point));
            event->accept();
            return;
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

} // namespace velk
