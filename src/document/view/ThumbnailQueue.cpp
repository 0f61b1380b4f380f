#include "document/view/ThumbnailQueue.h"

#include "document/view/DocumentViewLimits.h"
#include "document/view/PageCache.h"

#include <algorithm>
#include <utility>

namespace velk {

ThumbnailQueue::ThumbnailQueue()
{
    m_images.setMaxCost(DocumentViewLimits::kThumbnailCacheMaxCost);
}

void ThumbnailQueue::reset(int pageCount)
{
    m_images.clear();
    m_failed.clear();
    m_wanted.clear();
    m_requested.clear();
    m_pageCount = std::max(0, pageCount);
    m_inFlight = -1;
}

void ThumbnailQueue::setWanted(const QList<int>& pages)
{
    m_wanted.clear();
    for (const int page : pages) {
        if (page >= 0 && page < m_pageCount && !m_wanted.contains(page))
            m_wanted.append(page);
    }
}

std::optional<int> ThumbnailQueue::takeNext(bool pageViewBusy)
{
    if (pageViewBusy || m_inFlight >= 0)
        return std::nullopt;
    for (const int page : std::as_const(m_wanted)) {
        if (m_images.contains(page) || m_failed.contains(page))
            continue;
        m_inFlight = page;
        m_requested.append(page);
        return page;
    }
    return std::nullopt;
}

void ThumbnailQueue::finish(int page, const QImage& image)
{
    if (page != m_inFlight || page < 0)
        return;
    m_inFlight = -1;
    // An image too big for the whole cache is taken for a failure too, so
    // that it is not asked for over and over.
    if (image.isNull() || !m_images.insert(page, new QImage(image), PageCache::costOf(image)))
        m_failed.insert(page);
}

const QImage* ThumbnailQueue::find(int page) const
{
    return m_images.object(page);
}

} // namespace velk
