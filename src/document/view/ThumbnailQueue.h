#pragma once

// Which page thumbnail to render next, and the thumbnails already made.
// Only pages in view are asked for, in the order given, one at a time, and
// never while the page view renders: the pages come first. A bounded cache
// keeps what was made (cost in whole KiB, as for pages); a page the worker
// could not render is not asked for again. GUI thread only; owned by
// ThumbnailStrip.

#include <QCache>
#include <QImage>
#include <QList>
#include <QSet>

#include <optional>

namespace velk {

class ThumbnailQueue {
public:
    ThumbnailQueue();

    // Forgets everything: a new document of this many pages.
    void reset(int pageCount);
    // The pages now in view, most wanted first; others are dropped from
    // the wish list (not from the cache).
    void setWanted(const QList<int>& pages);
    // The page to request now, if any; from then on it is in flight.
    std::optional<int> takeNext(bool pageViewBusy);
    // Ends the request in flight; a null image marks the page as failed.
    void finish(int page, const QImage& image);

    const QImage* find(int page) const;
    bool hasFailed(int page) const { return m_failed.contains(page); }
    bool isBusy() const { return m_inFlight >= 0; }
    int inFlight() const { return m_inFlight; }
    // Every page requested since the last reset, in order.
    const QList<int>& requested() const { return m_requested; }

private:
    QCache<int, QImage> m_images;
    QSet<int> m_failed;
    QList<int> m_wanted;
    QList<int> m_requested;
    int m_pageCount = 0;
    int m_inFlight = -1;
};

} // namespace velk
