#pragma once

// One page rendered for recognition: white, opaque, with annotations, and
// without the form layer.

#include "ocr/OcrGeometry.h"
#include "pdfium/Pdfium.h"

#include <QImage>
#include <QString>

namespace velk {

struct OcrPageImage {
    QImage image;    // 24-bit RGB; null on failure
    QString error;
};

OcrPageImage renderOcrPage(const Pdfium& pdfium, FPDF_DOCUMENT document, int page, const OcrRaster& raster);

} // namespace velk
