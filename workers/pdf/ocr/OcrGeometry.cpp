#include "ocr/OcrGeometry.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

constexpr double kMaxPixels = 12000000.0;
constexpr double kMaxSide = 5000.0;
constexpr double kMaxScale = 300.0 / 72.0;

} // namespace

OcrRaster ocrRaster(double widthPoints, double heightPoints)
{
    const double scale = std::min({std::sqrt(kMaxPixels / (widthPoints * heightPoints)),
                                   kMaxSide / std::max(widthPoints, heightPoints), kMaxScale});
    const int width = std::max(1, int(std::ceil(widthPoints * scale)));
    const int height = std::max(1, int(std::ceil(heightPoints * scale)));
    return {QSize(width, height), std::max(72, int(std::floor(scale * 72.0)))};
}

} // namespace velk
