#pragma once

// The scrollable page view of one document. Lays the pages out from the
// sizes the document carries, asks the sandboxed worker for the pixels of
// one visible page at a time (top first, at its on-screen width in device
// pixels), keeps them in a cost-bounded cache and paints placeholders until
// they arrive. Painting never waits for a worker. Turns a left click on a
// page into a page index and a page-relative position. Scrolls, turns and
// zooms from the keyboard and the wheel; while a zoom or a resize waits for
// its sharp images, the last ones are drawn scaled.
//
// GUI thread only. Owned by its parent (the document tab); owns its render
// watcher. Every layout starts a generation with its own cancellation flag;
// destroying the canvas sets the flag, so a render in flight stops inside
// the sandbox instead of running to its time limit.

#include "worker/runner/CancelFlag.h"
#include "document/view/PageCache.h"
#include "document/view/PageLayout.h"
#include "document/core/PdfDocument.h"
#include "worker/runner/PdfRenderResult.h"
#include "worker/contract/operations/LinksContract.h"

#include <QAbstractScrollArea>
#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

namespace velk {

class PdfCanvas : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit PdfCanvas(QWidget* parent = nullptr);
    ~PdfCanvas() override;

    void setDocument(PdfDocumentPtr document);
    PdfDocumentPtr document() const { return m_document; }

    // 0 continuous, 1 single page, 2 two pages side by side.
    void setViewMode(int mode);
    // 0 fit width, 1 fit page, 2 100 %, 3 150 %, 4 200 %.
    void setZoomMode(int mode);
    // 0 normal, 1 night, 2 eye protection; only what is drawn changes.
    void setReadingFilter(int filter);
    // A factor of its own (1.0 is 100 %, kept within the zoom bounds)
    // instead of the zoom mode; the anchor, a viewport point, stays over the
    // same spot of the page (the viewport's centre when none is given).
    void setZoomFactor(double factor);
    void setZoomFactor(double factor, const QPointF& anchor);
    void zoomIn();
    void zoomOut();
    // The factor the pages are shown at, whether chosen or given by a mode.
    double zoomFactor() const;
    bool hasOwnZoomFactor() const { return m_zoomFactor > 0; }
    int viewMode() const { return m_viewMode; }
    int zoomMode() const { return m_zoomMode; }
    int readingFilter() const { return m_readingFilter; }

    void goToPage(int index);
    int currentPage() const { return m_currentPage; }
    // A screenful on; in single-page mode the next page once the end of this
    // one is in view, never past the last page.
    void pageForward();
    void pageBackward();

    // Marks over the hit of a search: rectangles in points from the top left
    // of the page as displayed. Setting them brings the first into view;
    // they stay through zooms and layouts until cleared.
    void setSearchMarks(int page, const QList<QRectF>& rects);
    void clearSearchMarks();
    int searchMarkPage() const { return m_markPage; }
    // The marks in viewport coordinates, as painted.
    QList<QRectF> searchMarksInViewport() const;

    // The links of a page (rectangles as for search marks); the cursor
    // turns into a hand over them. Kept until the document changes.
    void setPageLinks(int page, const QList<PageLinkEntry>& links);
    bool hasPageLinks(int page) const { return m_links.contains(page); }
    // The link under a page-relative position, if any.
    std::optional<PageLinkEntry> linkAt(int page, const QPointF& normalizedPosition) const;

    // The area dragged out on a page, in points from its top left as
    // displayed; -1 and empty when there is none.
    int selectionPage() const { return m_selectionPage; }
    QRectF selection() const { return m_selection; }
    void clearSelection();

    // The state of the current layout generation, as painted.
    const QList<QRectF>& pageRects() const { return m_pageRects; }
    QString pageError(int index) const { return m_pageErrors.value(index); }
    QImage cachedPage(int index) const;
    int generation() const { return m_generation; }
    bool isRendering() const { return m_rendering; }
    int pendingPage() const { return m_pendingPage; }

public Q_SLOTS:
    // Starts the render of the first visible page that has neither an image
    // nor an error, unless a render is already in flight.
    void requestVisiblePage();

Q_SIGNALS:
    void currentPageChanged(int index);
    void pageRendered(int index);
    // A render ended, with an image or an error, and no other started.
    void renderingIdle();
    void pageClicked(int index, QPointF normalizedPosition);
    // A factor of the view's own took the place of the zoom mode.
    void zoomFactorChanged(double factor);
    // A drag on a page ended: the area it spans, in page points.
    void areaSelected(int page, QRectF area);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void relayout();
    void keepStaleImages();
    void revealSearchMark();
    QRectF pagePointsToContent(int page, const QRectF& points) const;
    QPointF contentToPagePoints(int page, const QPointF& content) const;
    void dragSelection(const QPointF& content);
    bool turnPageByWheel(int delta);
    void zoomByWheel(const QWheelEvent& event);
    void cancelRenders();
    void renderFinished();
    QRectF visibleArea() const;
    int firstPageToRender() const;

    PdfDocumentPtr m_document;
    QList<QRectF> m_pageRects;
    PageLayout m_layout;
    // Images of the previous layout for the pages in view, drawn scaled
    // until their sharp image arrives; dropped with the document.
    QHash<int, QImage> m_stalePages;
    mutable PageCache m_pageCache;
    QHash<int, QString> m_pageErrors;
    QFutureWatcher<PdfRenderResult>* m_renderWatcher = nullptr;
    CancelFlag m_cancel;
    int m_generation = 0;
    int m_requestGeneration = 0;
    int m_pendingPage = -1;
    int m_currentPage = 0;
    int m_viewMode = 0;
    int m_zoomMode = 0;
    int m_readingFilter = 0;
    double m_zoomFactor = 0.0;
    QHash<int, QList<PageLinkEntry>> m_links;
    int m_selectionPage = -1;
    QRectF m_selection;
    // Where a left-button press landed, in content coordinates, and on which
    // page; a drag of more than a few pixels from there selects.
    QPointF m_pressPoint;
    int m_pressPage = -1;
    bool m_dragging = false;
    int m_markPage = -1;
    QList<QRectF> m_marks;
    // Wheel turns below one notch (high-resolution wheels, touchpads) add
    // up before they zoom or turn a page.
    int m_zoomWheel = 0;
    int m_turnWheel = 0;
    bool m_rendering = false;
    // Set while goToPage moves the scroll bar: the page it goes to stays
    // current even where the scroll range cannot bring it to the top.
    bool m_navigating = false;
};

} // namespace velk
