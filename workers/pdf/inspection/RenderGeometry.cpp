#include "inspection/RenderGeometry.h"

#include "inspection/InspectionLimits.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

using namespace InspectionLimits;

int atLeastOne(double pixels)
{
    return std::max(1, int(std::floor(pixels)));
}

} // namespace

RenderGeometry RenderGeometry::fit(const PageSize& page, qint64 requestedWidth)
{
    const double w = page.width;
    const double h = page.height;
    const int r = int(std::clamp<qint64>(requestedWidth, kMinRenderWidth, kMaxRenderWidth));

    // The scale is min(r / w, sqrt(8e6 / (w h)), 4096 / h). Each side is
    // computed from the bound that decides it, without going through the
    // scale: w * (r / w) can come out a hair below r and floor to r - 1.
    const double byWidth = r / w;
    const double byHeight = kMaxRenderHeight / h;
    const double byPixels = std::sqrt(kMaxRenderPixels / (w * h));

    RenderGeometry geometry;
    if (byWidth <= byHeight && byWidth <= byPixels) {
        geometry.width = r;
        geometry.height = atLeastOne(h * r / w);
    } else if (byHeight <= byPixels) {
        geometry.width = atLeastOne(w * kMaxRenderHeight / h);
        geometry.height = kMaxRenderHeight;
    } else {
        geometry.width = atLeastOne(std::sqrt(kMaxRenderPixels * w / h));
        geometry.height = atLeastOne(std::sqrt(kMaxRenderPixels * h / w));
    }
    // Exact arithmetic keeps every bound; these only undo a rounding error
    // of the last bit, so no bound can be crossed by one.
    geometry.width = std::min(geometry.width, r);
    geometry.height = std::min(geometry.height, kMaxRenderHeight);
    while (double(geometry.width) * geometry.height > kMaxRenderPixels) {
        if (geometry.width >= geometry.height)
            --geometry.width;
        else
            --geometry.height;
    }
    return geometry;
}

} // namespace velk
