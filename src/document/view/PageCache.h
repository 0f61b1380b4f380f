#pragma once

// Rendered pages of one layout generation, bounded by cost: an image costs
// its size in whole KiB (at least 1), the whole cache about 64 MiB. The
// least recently painted page goes first. GUI thread only; owned by
// PdfCanvas.

#include <QCache>
#include <QImage>

namespace velk {

class PageCache {
public:
    PageCache();

    static qsizetype costOf(const QImage& image);

    // False when the image alone would exceed the whole budget.
    bool insert(int page, const QImage& image);
    // Marks the page most recently used; null when it is not cached.
    const QImage* find(int page);
    bool contains(int page) const;
    void clear();

    qsizetype totalCost() const;
    qsizetype maxCost() const;

private:
    QCache<int, QImage> m_images;
};

} // namespace velk
