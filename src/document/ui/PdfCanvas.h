#pragma once

// The scrollable page view of one document. Lays the pages out from the
// sizes the document carries, asks the sandboxed worker for the pixels of
// one visible page at a time (top first, at its on-screen width in device
// pixels), keeps them in a cost-bounded cache and paints placeholders until
// they arrive. Painting never waits for a worker. Turns a left click on a
// page into a page index and a page-relative position.
//
// GUI thread only. Owned by its parent (the document tab); owns its render
// watcher. Every layout starts a generation with its own cancellation flag;
// destroying the canvas sets the flag, so a render in flight stops inside
// the sandbox instead of running to its time limit.

#include "worker/runner/CancelFlag.h"
#include "document/view/PageCache.h"
#include "document/core/PdfDocument.h"
#include "worker/runner/PdfRenderResult.h"

#include <QAbstractScrollArea>
#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>

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
    int viewMode() const { return m_viewMode; }
    int zoomMode() const { return m_zoomMode; }
    int readingFilter() const { return m_readingFilter; }

    void goToPage(int index);
    int currentPage() const { return m_currentPage; }

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
    void pageClicked(int index, QPointF normalizedPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void relayout();
    void cancelRenders();
    void renderFinished();
    QRectF visibleArea() const;
    int firstPageToRender() const;

    PdfDocumentPtr m_document;
    QList<QRectF> m_pageRects;
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
    bool m_rendering = false;
    // Set while goToPage moves the scroll bar: the page it goes to stays
    // current even where the scroll range cannot bring it to the top.
    bool m_navigating = false;
};

} // namespace velk
