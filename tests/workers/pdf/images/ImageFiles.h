#pragma once

// Image files written by the tests: real PNG, JPEG and BMP through Qt, a
// JPEG carrying an EXIF orientation, and hand-made GIF and TIFF bytes.

#include <QByteArray>
#include <QColor>
#include <QString>

namespace velk::test {

// A plain image of the given size; format is Qt's writer name.
bool writeImage(const QString& path, int width, int height, const char* format, QColor colour = Qt::red);

// A JPEG whose left half is red and right half blue, tagged with the EXIF
// orientation (6: the viewer turns it 90° clockwise).
bool writeOrientedJpeg(const QString& path, int width, int height, quint16 orientation);

QByteArray gifBytes();
QByteArray tiffBytes();

bool writeImageBytes(const QString& path, const QByteArray& bytes);

} // namespace velk::test
