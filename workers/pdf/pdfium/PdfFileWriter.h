#pragma once

// PDFium's FPDF_FILEWRITE, version 1, writing every block PDFium hands over
// into a device: an atomic save file, or a buffer in memory. A block counts
// as written only when all of its bytes reached the device; after the first
// failure the writer stays failed.

#include "pdfium/PdfiumTypes.h"

#include <type_traits>

class QIODevice;

namespace velk {

struct PdfFileWriter {
    FPDF_FILEWRITE base;
    QIODevice* device;
    bool failed;

    explicit PdfFileWriter(QIODevice& target);
    PdfFileWriter(const PdfFileWriter&) = delete;
    PdfFileWriter& operator=(const PdfFileWriter&) = delete;
};

// PDFium hands back the address of base, which is the writer's own.
static_assert(std::is_standard_layout_v<PdfFileWriter>);
static_assert(offsetof(PdfFileWriter, base) == 0);

} // namespace velk
