#include "document/ui/PdfCanvas.h"

#include "document/view/DocumentViewLimits.h"
#include "document/view/PageLayout.h"
#include "document/ui/PagePainter.h"
#include "document/view/PageRendering.h"
#include "document/view/ZoomSteps.h"
#include "worker/runner/RunnerMessages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace velk {

namespace {

const QColor kBackground(QStringLiteral("#34363B"));
// Qt's usual line of 20 pixels: three of them per wheel notch, one per arrow.
constexpr int kLineStep = 20;
// One notch of a standard wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

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
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setSingleStep(kLineStep);
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
    m_stalePages.clear();
    m_markPage = -1;
    m_marks.clear();
    m_links.clear();
    m_selectionPage = -1;
    m_selection = QRectF();
    m_pressPage = -1;
    m_dragging = false;
    viewport()->unsetCursor();
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
    m_layout = PageLayout{};
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
    m_zoomFactor = 0.0;
    relayout();
    goToPage(page);
}

void PdfCanvas::setZoomFactor(double factor)
{
    setZoomFactor(factor, QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
}

void PdfCanvas::setZoomFactor(double factor, const QPointF& anchor)
{
    if (!m_document || !std::isfinite(factor))
        return;
    const PageLayout before = m_layout;
    const QPointF content = anchor + visibleArea().topLeft();
    m_zoomFactor = std::clamp(factor, ZoomSteps::kMinFactor, ZoomSteps::kMaxFactor);
    relayout();
    const QPointF target = mapBetweenLayouts(before, m_layout, content);
    horizontalScrollBar()->setValue(scrollExtent(target.x() - anchor.x()));
    verticalScrollBar()->setValue(scrollExtent(target.y() - anchor.y()));
    Q_EMIT zoomFactorChanged(m_zoomFactor);
}

void PdfCanvas::zoomIn()
{
    setZoomFactor(ZoomSteps::larger(zoomFactor()));
}

void PdfCanvas::zoomOut()
{
    setZoomFactor(ZoomSteps::smaller(zoomFactor()));
}

double PdfCanvas::zoomFactor() const
{
    if (m_zoomFactor > 0)
        return m_zoomFactor;
    return m_layout.scale / DocumentViewLimits::kPointsToPixels;
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

void PdfCanvas::pageForward()
{
    QScrollBar* bar = verticalScrollBar();
    if (m_viewMode == ViewMode::kSinglePage && bar->value() >= bar->maximum()) {
        if (m_document && m_currentPage + 1 < m_document->pageCount())
            goToPage(m_currentPage + 1);
        return;
    }
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
}

void PdfCanvas::pageBackward()
{
    QScrollBar* bar = verticalScrollBar();
    if (m_viewMode == ViewMode::kSinglePage && bar->value() <= bar->minimum()) {
        if (m_currentPage > 0) {
            goToPage(m_currentPage - 1);
            // Reading backwards arrives at the end of the page before.
            bar->setValue(bar->maximum());
        }
        return;
    }
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
}

void PdfCanvas::setSearchMarks(int page, const QList<QRectF>& rects)
{
    if (!m_document || page < 0 || page >= m_document->pageCount())
        return;
    m_markPage = page;
    m_marks = rects;
    revealSearchMark();
    viewport()->update();
}

void PdfCanvas::clearSearchMarks()
{
    m_markPage = -1;
    m_marks.clear();
    viewport()->update();
}

QRectF PdfCanvas::pagePointsToContent(int page, const QRectF& points) const
{
    const QRectF& rect = m_pageRects.value(page);
    const QSizeF size = m_document ? m_document->pageSizes.value(page) : QSizeF();
    if (rect.isEmpty() || size.isEmpty())
        return QRectF();
    const double sx = rect.width() / size.width();
    const double sy = rect.height() / size.height();
    return QRectF(rect.left() + points.left() * sx, rect.top() + points.top() * sy, points.width() * sx,
                  points.height() * sy);
}

void PdfCanvas::clearSelection()
{
    m_selectionPage = -1;
    m_selection = QRectF();
    viewport()->update();
}

QPointF PdfCanvas::contentToPagePoints(int page, const QPointF& content) const
{
    const QRectF& rect = m_pageRects.value(page);
    const QSizeF size = m_document ? m_document->pageSizes.value(page) : QSizeF();
    if (rect.isEmpty() || size.isEmpty())
        return QPointF();
    const double x = std::clamp((content.x() - rect.left()) / rect.width(), 0.0, 1.0) * size.width();
    const double y = std::clamp((content.y() - rect.top()) / rect.height(), 0.0, 1.0) * size.height();
    return QPointF(x, y);
}

// The selection stays on the page the drag began on.
void PdfCanvas::dragSelection(const QPointF& content)
{
    m_selectionPage = m_pressPage;
    m_selection = QRectF(contentToPagePoints(m_pressPage, m_pressPoint), contentToPagePoints(m_pressPage, content))
                      .normalized();
    viewport()->update();
}

void PdfCanvas::setPageLinks(int page, const QList<PageLinkEntry>& links)
{
    if (m_document && page >= 0 && page < m_document->pageCount())
        m_links.insert(page, links);
}

std::optional<PageLinkEntry> PdfCanvas::linkAt(int page, const QPointF& normalizedPosition) const
{
    const QSizeF size = m_document ? m_document->pageSizes.value(page) : QSizeF();
    const QPointF points(normalizedPosition.x() * size.width(), normalizedPosition.y() * size.height());
    for (const PageLinkEntry& link : m_links.value(page)) {
        if (link.rect.contains(points))
            return link;
    }
    return std::nullopt;
}

QList<QRectF> PdfCanvas::searchMarksInViewport() const
{
    QList<QRectF> shown;
    const QPointF offset = -visibleArea().topLeft();
    for (const QRectF& mark : m_marks) {
        const QRectF content = pagePointsToContent(m_markPage, mark);
        if (!content.isEmpty())
            shown.append(content.translated(offset));
    }
    return shown;
}

// The first mark comes into view a third of the way down, unless it is
// already in view.
void PdfCanvas::revealSearchMark()
{
    if (m_marks.isEmpty())
        return;
    const QRectF mark = pagePointsToContent(m_markPage, m_marks.first());
    const QRectF visible = visibleArea();
    if (mark.isEmpty() || visible.contains(mark))
        return;
    if (mark.top() < visible.top() || mark.bottom() > visible.bottom())
        verticalScrollBar()->setValue(scrollExtent(mark.top() - viewport()->height() / 3.0));
    if (mark.left() < visible.left() || mark.right() > visible.right())
        horizontalScrollBar()->setValue(scrollExtent(mark.center().x() - viewport()->width() / 2.0));
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
    keepStaleImages();
    m_pageCache.clear();
    m_pageErrors.clear();

    const PageLayout layout = PageLayout::compute(m_document->pageSizes, viewport()->size(), m_viewMode,
                                                  m_zoomMode, m_currentPage, m_zoomFactor);
    m_layout = layout;
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

// Only the pages in view keep an image: a handful of shared images, however
// long the document.
void PdfCanvas::keepStaleImages()
{
    QHash<int, QImage> kept;
    const QRectF visible = visibleArea();
    for (qsizetype index = 0; index < m_pageRects.size(); ++index) {
        const QRectF& rect = m_pageRects.at(index);
        if (rect.isEmpty() || !rect.intersects(visible))
            continue;
        const int page = int(index);
        if (const QImage* image = m_pageCache.find(page))
            kept.insert(page, *image);
        else if (m_stalePages.contains(page))
            kept.insert(page, m_stalePages.value(page));
    }
    m_stalePages = kept;
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
            m_stalePages.remove(page);
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
    if (!m_rendering)
        Q_EMIT renderingIdle();
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
        else if (m_pageErrors.contains(page))
            pagePainter.paintText(m_pageErrors.value(page));
        else if (const auto stale = m_stalePages.constFind(page); stale != m_stalePages.cend())
            pagePainter.paintImage(*stale, m_readingFilter);
        else
            pagePainter.paintText(QStringLiteral("Sayfa %1 yükleniyor…").arg(page + 1));
        if (page == m_markPage)
            PagePainter::paintMarks(painter, searchMarksInViewport());
        if (page == m_selectionPage && !m_selection.isEmpty())
            PagePainter::paintSelection(painter, pagePointsToContent(page, m_selection).translated(offset));
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

void PdfCanvas::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    if (m_document) {
        switch (event->key()) {
        case Qt::Key_Home:
            goToPage(0);
            return;
        case Qt::Key_End:
            goToPage(m_document->pageCount() - 1);
            return;
        case Qt::Key_PageDown:
            pageForward();
            return;
        case Qt::Key_PageUp:
            pageBackward();
            return;
        case Qt::Key_Space:
            shift ? pageBackward() : pageForward();
            return;
        default:
            break;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PdfCanvas::wheelEvent(QWheelEvent* event)
{
    if (!m_document) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        zoomByWheel(*event);
        event->accept();
        return;
    }
    if (m_viewMode == ViewMode::kSinglePage && turnPageByWheel(event->angleDelta().y())) {
        event->accept();
        return;
    }
    m_turnWheel = 0;
    QAbstractScrollArea::wheelEvent(event);
}

// One step per whole notch, about the point under the cursor.
void PdfCanvas::zoomByWheel(const QWheelEvent& event)
{
    m_zoomWheel += event.angleDelta().y();
    if (std::abs(m_zoomWheel) < kWheelNotch)
        return;
    const bool larger = m_zoomWheel > 0;
    m_zoomWheel = 0;
    const double factor = larger ? ZoomSteps::larger(zoomFactor()) : ZoomSteps::smaller(zoomFactor());
    setZoomFactor(factor, event.position());
}

// In single-page mode the wheel at the page's edge turns the page once a
// whole notch has been turned there; true when the turn is taken here.
bool PdfCanvas::turnPageByWheel(int delta)
{
    const QScrollBar* bar = verticalScrollBar();
    const bool down = delta < 0;
    const bool atEdge = down ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum();
    if (delta == 0 || !atEdge)
        return false;
    if ((m_turnWheel < 0) != down)
        m_turnWheel = 0;
    m_turnWheel += delta;
    if (std::abs(m_turnWheel) >= kWheelNotch) {
        m_turnWheel = 0;
        down ? pageForward() : pageBackward();
    }
    return true;
}

void PdfCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF point = event->position() + visibleArea().topLeft();
    const int page = m_document ? pageAt(m_pageRects, point) : -1;
    const bool overLink = page >= 0 && linkAt(page, pagePosition(m_pageRects.at(page), point)).has_value();
    if (overLink)
        viewport()->setCursor(Qt::PointingHandCursor);
    else
        viewport()->unsetCursor();
    if (event->buttons().testFlag(Qt::LeftButton) && m_pressPage >= 0) {
        constexpr double kDragStart = 4.0;
        if (m_dragging || (point - m_pressPoint).manhattanLength() > kDragStart) {
            m_dragging = true;
            dragSelection(point);
        }
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void PdfCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        dragSelection(event->position() + visibleArea().topLeft());
        if (!m_selection.isEmpty())
            Q_EMIT areaSelected(m_selectionPage, m_selection);
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void PdfCanvas::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && m_document) {
        const QPointF point = event->position() + visibleArea().topLeft();
        const int page = pageAt(m_pageRects, point);
        m_pressPoint = point;
        m_pressPage = page;
        m_dragging = false;
        if (page >= 0) {
            Q_EMIT pageClicked(page, pagePosition(m_pageRects.at(page), point));
            event->accept();
            return;
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

} // namespace velk
