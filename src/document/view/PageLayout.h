#pragma once

// Where every page of a document sits in the page view, worked out from the
// page sizes alone: pure arithmetic on logical pixels, no widgets. PdfCanvas
// computes one layout per generation on the GUI thread; the tests check the
// measures directly.

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace velk {

namespace ViewMode {
inline constexpr int kContinuous = 0;
inline constexpr int kSinglePage = 1;
inline constexpr int kTwoPages = 2;
} // namespace ViewMode

namespace ZoomMode {
inline constexpr int kFitWidth = 0;
inline constexpr int kFitPage = 1;
inline constexpr int kActualSize = 2;
inline constexpr int kOneAndHalf = 3;
inline constexpr int kDouble = 4;
} // namespace ZoomMode

struct PageLayout {
    // Logical pixels per PDF point.
    double scale = 1.0;
    // One per page, in content coordinates; empty for a page not laid out.
    QList<QRectF> pageRects;
    QSizeF contentSize;

    // In single-page mode only currentPage (clamped to the document) is
    // laid out. An empty size list gives an empty layout. A zoom factor
    // above 0 (1.0 is 100 %) takes the place of the zoom mode.
    static PageLayout compute(const QList<QSizeF>& pageSizes, const QSize& viewport, int viewMode, int zoomMode,
                              int currentPage, double zoomFactor = 0.0);

    int horizontalRange(int viewportWidth) const;
    int verticalRange(int viewportHeight) const;
};

// A content coordinate as a scroll value: truncated, and saturated where an
// extreme layout (thousands of tall, narrow pages at fit width) reaches
// beyond what a scroll bar can hold.
int scrollExtent(double contentCoordinate);

// The width a page is rendered at: its on-screen width in device pixels,
// truncated and kept within the worker's bounds.
int renderWidthFor(double logicalWidth, double devicePixelRatio);

// The first page, in index order, whose laid-out rectangle contains the
// point; -1 when it falls on no page.
int pageAt(const QList<QRectF>& pageRects, const QPointF& contentPoint);

// The point relative to the page: 0 to 1 on both axes, origin top left.
QPointF pagePosition(const QRectF& pageRect, const QPointF& contentPoint);

// The page a reader is on after scrolling: the first whose bottom lies at or
// below a third of the viewport; -1 when there is none.
int pageAtReadingLine(const QList<QRectF>& pageRects, double scrollValue, int viewportHeight);

// Where a content point of an old layout lies in a new one: the same place
// on the same page when it is on a page of both, else the nearest page's
// nearest point; the point scaled by the content sizes when neither layout
// has a page near it.
QPointF mapBetweenLayouts(const PageLayout& from, const PageLayout& to, const QPointF& contentPoint);

} // namespace velk
