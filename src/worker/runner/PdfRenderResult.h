#pragma once

// One rendered page as the page view receives it: an image, or a null image
// and one Turkish sentence.

#include <QImage>
#include <QString>

namespace velk {

struct PdfRenderResult {
    QImage image;
    QString error;
};

} // namespace velk
