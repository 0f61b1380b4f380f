#pragma once

// Where a point of the displayed page lies in PDF page space, worked out
// by hand for each /Rotate, as the tests' own expectation of where notes
// and shapes must land. The media box starts at the origin.

#include <QPointF>

namespace velk::test {

// x and y normalised on the displayed page, y growing downwards; width and
// height of the media box before rotation.
inline QPointF displayedToPage(double width, double height, int rotate, double x, double y)
{
    switch (rotate) {
    case 90:
        return {y * width, x * height};
    case 180:
        return {width - x * width, y * height};
    case 270:
        return {width - y * width, height - x * height};
    default:
        return {x * width, height - y * height};
    }
}

} // namespace velk::test
