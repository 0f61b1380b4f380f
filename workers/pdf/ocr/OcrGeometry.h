#pragma once

// The render size of a page for recognition: at most 300 dpi, 12 megapixels
// and 5,000 pixels on the long side.

#include <QSize>

namespace velk {

struct OcrRaster {
    QSize pixels;       // each side at least 1
    int resolution = 0; // dots per inch handed to the engine, at least 72
};

// The page's width and height in points must both be positive and finite.
OcrRaster ocrRaster(double widthPoints, double heightPoints);

} // namespace velk
