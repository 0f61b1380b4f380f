#pragma once

// Where filled form fields leave ink: a page (the first unless named) drawn
// by the worker's "render" (PDFium, in the real sandbox) and by poppler's
// pdftoppm, both at two pixels per point, and the dark pixels inside a
// field's box.

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>

namespace velk::test {

inline constexpr double kInkPixelsPerPoint = 2;

// Null when rendering failed.
QImage workerRendering(const QString& path, int page = 0);
QImage popplerRendering(const QString& path, int page = 0);

// A rectangle in default user space (origin bottom left) as pixels of a
// page of this height in points, y growing downwards.
QRect pixelBox(const QRectF& pdfRect, double pageHeight = 842);

struct Ink {
    int pixels = 0;
    // The smallest rectangle holding every dark pixel; empty without ink.
    QRect bounds;
};

Ink inkIn(const QImage& image, const QRect& area);

// Pixels whose darkness differs between two areas of the same size.
int differingPixels(const QImage& image, const QRect& first, const QRect& second);

} // namespace velk::test
