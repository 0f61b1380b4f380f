#pragma once

// The "Sayfalar" side panel of a document tab: one small picture per page,
// made by the sandboxed worker only for the pages in view, one at a time,
// and only while the page view renders nothing. The current page is
// selected; a click goes to a page. Renders run on a pool of one thread of
// the strip's own, so that they never hold up the page view's renders.
// Owned by the tab; GUI thread.

#include "document/core/PdfDocument.h"
#include "document/view/ThumbnailQueue.h"
#include "worker/runner/CancelFlag.h"
#include "worker/runner/PdfRenderResult.h"

#include <QFutureWatcher>
#include <QListWidget>
#include <QThreadPool>

#include <functional>

namespace velk {

class ThumbnailStrip : public QListWidget {
    Q_OBJECT

public:
    // pageViewBusy says whether the page view is rendering.
    explicit ThumbnailStrip(std::function<bool()> pageViewBusy, QWidget* parent = nullptr);
    ~ThumbnailStrip() override;

    void setDocument(PdfDocumentPtr document);
    // Marks the page and brings its thumbnail into view.
    void setCurrentPage(int page);

    // The pages whose pictures are at least partly in view.
    QList<int> visiblePages() const;
    const ThumbnailQueue& queue() const { return m_queue; }
    const QImage* thumbnail(int page) const { return m_queue.find(page); }

public Q_SLOTS:
    // Asks for the next thumbnail in view, after the current event, so that
    // the page view starts its own next render first.
    void schedule();

Q_SIGNALS:
    void pageChosen(int page);
    // A thumbnail render has just been started for this page.
    void thumbnailRequested(int page);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void requestNext();
    void renderFinished();
    QSize pictureSize(int page) const;

    std::function<bool()> m_pageViewBusy;
    PdfDocumentPtr m_document;
    ThumbnailQueue m_queue;
    QThreadPool m_pool;
    QFutureWatcher<PdfRenderResult>* m_watcher = nullptr;
    CancelFlag m_cancel;
    bool m_scheduled = false;
};

} // namespace velk
