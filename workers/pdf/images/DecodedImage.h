#pragma once

// Reads one image file for a page: a bounded regular file, detected by its
// content as PNG, JPEG or BMP, at most 20 megapixels by its header, decoded
// upright (EXIF orientation applied) into 32-bit ARGB.

#include <QImage>
#include <QString>

#include <optional>

namespace velk {

struct DecodedImage {
    QImage image;    // Format_ARGB32, never null on success
    QString error;   // the Turkish sentence on failure
};

// Sets the reader's process-wide allocation limit; call before the first image.
void limitImageReaderAllocation();

DecodedImage decodePageImage(const QString& path);

} // namespace velk
