#pragma once

// The pixel size a page renders at: the requested width clamped to
// 160..4,096, then the largest scale that keeps the width within that
// request, the height within 4,096 pixels and the image within 8,000,000
// pixels. Pure; used by "render".

#include "inspection/PageSize.h"

#include <QtGlobal>

namespace velk {

struct RenderGeometry {
    int width = 1;
    int height = 1;

    // The page must be valid (PageSize::isValid).
    static RenderGeometry fit(const PageSize& page, qint64 requestedWidth);
};

} // namespace velk
