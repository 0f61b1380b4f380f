#include "document/view/PageLayout.h"

#include "document/view/DocumentViewLimits.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velk {

namespace {

using namespace DocumentViewLimits;

struct Columns {
    int count = 1;
    double gap = 0.0;
};

Columns columnsFor(int viewMode)
{
    if (viewMode == ViewMode::kTwoPages)
        return Columns{2, kPageGap};
    return Columns{};
}

QSizeF largestPage(const QList<QSizeF>& pageSizes)
{
    QSizeF largest(1.0, 1.0);
    for (const QSizeF& size : pageSizes)
        largest = QSizeF(std::max(largest.width(), size.width()), std::max(largest.height(), size.height()));
    return largest;
}

double scaleFor(const QSizeF& largest, const QSize& viewport, const Columns& columns, int zoomMode)
{
    // Fixed zooms; any mode beyond the last counts as the largest.
    if (zoomMode >= ZoomMode::kDouble)
        return 2.0 * kPointsToPixels;
    if (zoomMode == ZoomMode::kOneAndHalf)
        return 1.5 * kPointsToPixels;
    if (zoomMode == ZoomMode::kActualSize)
        return kPointsToPixels;
    const double available = std::max(viewport.width() - 2 * kPageMargin - columns.gap, kMinAvailableWidth);
    const double fitWidth = available / (columns.count * largest.width());
    if (zoomMode != ZoomMode::kFitPage)
        return fitWidth;
    const double availableHeight = std::max(viewport.height() - 2 * kPageMargin, kMinAvailableWidth);
    return std::min(fitWidth, availableHeight / largest.height());
}

void layOutSinglePage(PageLayout& layout, const QList<QSizeF>& pageSizes, int currentPage)
{
    const int page = std::clamp(currentPage, 0, int(pageSizes.size()) - 1);
    const QSizeF size = pageSizes.at(page) * layout.scale;
    const double x = (layout.contentSize.width() - size.width()) / 2;
    layout.pageRects[page] = QRectF(QPointF(x, kPageMargin), size);
    layout.contentSize.setHeight(size.height() + 2 * kPageMargin);
}

void layOutRows(PageLayout& layout, const QList<QSizeF>& pageSizes, const Columns& columns, double largestWidth)
{
    const double width = layout.contentSize.width();
    const double rowStart = (width - columns.count * largestWidth * layout.scale - columns.gap) / 2;
    double y = kPageMargin;
    for (qsizetype first = 0; first < pageSizes.size(); first += columns.count) {
        double rowHeight = 0.0;
        for (int column = 0; column < columns.count && first + column < pageSizes.size(); ++column) {
            const QSizeF size = pageSizes.at(first + column) * layout.scale;
            const double x = columns.count == 1 ? (width - size.width()) / 2
                                                : rowStart + (layout.scale * largestWidth + kPageGap) * column;
            layout.pageRects[first + column] = QRectF(QPointF(x, y), size);
            rowHeight = std::max(rowHeight, size.height());
        }
        y += rowHeight + kPageGap;
    }
    layout.contentSize.setHeight(y);
}

} // namespace

PageLayout PageLayout::compute(const QList<QSizeF>& pageSizes, const QSize& viewport, int viewMode, int zoomMode,
                               int currentPage, double zoomFactor)
{
    PageLayout layout;
    if (pageSizes.isEmpty())
        return layout;
    layout.pageRects = QList<QRectF>(pageSizes.size());
    const QSizeF largest = largestPage(pageSizes);
    const Columns columns = columnsFor(viewMode);
    layout.scale = zoomFactor > 0 ? zoomFactor * kPointsToPixels : scaleFor(largest, viewport, columns, zoomMode);
    const double rowWidth = columns.count * largest.width() * layout.scale + 2 * kPageMargin + columns.gap;
    layout.contentSize.setWidth(std::max(rowWidth, double(viewport.width())));
    if (viewMode == ViewMode::kSinglePage)
        layOutSinglePage(layout, pageSizes, currentPage);
    else
        layOutRows(layout, pageSizes, columns, largest.width());
    return layout;
}

int PageLayout::horizontalRange(int viewportWidth) const
{
    return std::max(0, scrollExtent(contentSize.width()) - std::max(0, viewportWidth));
}

int PageLayout::verticalRange(int viewportHeight) const
{
    return std::max(0, scrollExtent(contentSize.height() + kBottomSlack) - std::max(0, viewportHeight));
}

int scrollExtent(double contentCoordinate)
{
    // Compared as doubles first: converting an out-of-range double to int is
    // undefined.
    if (!(contentCoordinate > 0))
        return 0;
    if (contentCoordinate >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(contentCoordinate);
}

int renderWidthFor(double logicalWidth, double devicePixelRatio)
{
    const double pixels = logicalWidth * devicePixelRatio;
    // Compared as doubles first: a huge or non-finite value must not reach
    // the integer conversion.
    if (!(pixels < kMaxRenderWidth))
        return kMaxRenderWidth;
    return std::max(int(pixels), kMinRenderWidth);
}

int pageAt(const QList<QRectF>& pageRects, const QPointF& contentPoint)
{
    for (qsizetype index = 0; index < pageRects.size(); ++index) {
        const QRectF& rect = pageRects.at(index);
        if (!rect.isEmpty() && rect.contains(contentPoint))
            return int(index);
    }
    return -1;
}

QPointF pagePosition(const QRectF& pageRect, const QPointF& contentPoint)
{
    return QPointF((contentPoint.x() - pageRect.left()) / pageRect.width(),
                   (contentPoint.y() - pageRect.top()) / pageRect.height());
}

int pageAtReadingLine(const QList<QRectF>& pageRects, double scrollValue, int viewportHeight)
{
    const double readingLine = scrollValue + viewportHeight / 3.0;
    for (qsizetype index = 0; index < pageRects.size(); ++index) {
        const QRectF& rect = pageRects.at(index);
        if (!rect.isEmpty() && rect.bottom() >= readingLine)
            return int(index);
    }
    return -1;
}

QPointF mapBetweenLayouts(const PageLayout& from, const PageLayout& to, const QPointF& contentPoint)
{
    int page = pageAt(from.pageRects, contentPoint);
    if (page < 0) {
        // Nearest laid-out page of the old layout, by distance to its rectangle.
        double best = -1;
        for (qsizetype index = 0; index < from.pageRects.size(); ++index) {
            const QRectF& rect = from.pageRects.at(index);
            if (rect.isEmpty())
                continue;
            const double dx = std::max({rect.left() - contentPoint.x(), 0.0, contentPoint.x() - rect.right()});
            const double dy = std::max({rect.top() - contentPoint.y(), 0.0, contentPoint.y() - rect.bottom()});
            const double distance = dx * dx + dy * dy;
            if (best < 0 || distance < best) {
                best = distance;
                page = int(index);
            }
        }
    }
    if (page >= 0 && page < to.pageRects.size() && !to.pageRects.at(page).isEmpty()) {
        const QRectF& old = from.pageRects.at(page);
        const QRectF& now = to.pageRects.at(page);
        // Offsets outside the old page (its margin) scale with the layout.
        const double ratio = old.width() > 0 ? now.width() / old.width() : 1.0;
        return now.topLeft() + (contentPoint - old.topLeft()) * ratio;
    }
    const double sx = from.contentSize.width() > 0 ? to.contentSize.width() / from.contentSize.width() : 1.0;
    const double sy = from.contentSize.height() > 0 ? to.contentSize.height() / from.contentSize.height() : 1.0;
    return QPointF(contentPoint.x() * sx, contentPoint.y() * sy);
}

} // namespace velk
