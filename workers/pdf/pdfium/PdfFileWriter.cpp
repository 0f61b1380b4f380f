#include "pdfium/PdfFileWriter.h"

#include <QIODevice>

#include <limits>

namespace velk {

namespace {

int writeBlock(FPDF_FILEWRITE* self, const void* data, unsigned long size)
{
    auto* writer = reinterpret_cast<PdfFileWriter*>(self);
    if (!writer || writer->failed)
        return 0;
    if (size == 0)
        return 1;
    if (!data || size > static_cast<unsigned long>(std::numeric_limits<qint64>::max())) {
        writer->failed = true;
        return 0;
    }
    const auto* bytes = static_cast<const char*>(data);
    qint64 left = qint64(size);
    // QIODevice may accept fewer bytes than asked; keep going until the
    // block is complete or the device refuses.
    while (left > 0) {
        const qint64 written = writer->device->write(bytes, left);
        if (written <= 0) {
            writer->failed = true;
            return 0;
        }
        bytes += written;
        left -= written;
    }
    return 1;
}

} // namespace

PdfFileWriter::PdfFileWriter(QIODevice& target)
    : base{1, &writeBlock}
    , device(&target)
    , failed(false)
{
}

} // namespace velk
