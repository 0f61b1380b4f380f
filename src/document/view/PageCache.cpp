#include "document/view/PageCache.h"

#include "document/view/DocumentViewLimits.h"

#include <algorithm>

namespace velk {

PageCache::PageCache()
    : m_images(DocumentViewLimits::kPageCacheMaxCost)
{
}

qsizetype PageCache::costOf(const QImage& image)
{
    return std::max<qsizetype>(1, image.sizeInBytes() / 1024);
}

bool PageCache::insert(int page, const QImage& image)
{
    // QCache owns the copy and deletes it itself when it cannot hold it.
    return m_images.insert(page, new QImage(image), costOf(image));
}

const QImage* PageCache::find(int page)
{
    return m_images.object(page);
}

bool PageCache::contains(int page) const
{
    return m_images.contains(page);
}

void PageCache::clear()
{
    m_images.clear();
}

qsizetype PageCache::totalCost() const
{
    return m_images.totalCost();
}

qsizetype PageCache::maxCost() const
{
    return m_images.maxCost();
}

} // namespace velk
