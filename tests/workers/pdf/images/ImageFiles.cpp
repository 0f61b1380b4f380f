#include "ImageFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace velk::test {

namespace {

void appendLittle16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value & 0xff));
    bytes.append(char(value >> 8));
}

void appendLittle32(QByteArray& bytes, quint32 value)
{
    appendLittle16(bytes, quint16(value & 0xffff));
    appendLittle16(bytes, quint16(value >> 16));
}

// An APP1 segment holding a little-endian TIFF block with one entry: the
// orientation tag.
QByteArray exifSegment(quint16 orientation)
{
    QByteArray payload("Exif\0\0", 6);
    payload.append("II*\0", 4);
    appendLittle32(payload, 8);
    appendLittle16(payload, 1);
    appendLittle16(payload, 0x0112);
    appendLittle16(payload, 3);
    appendLittle32(payload, 1);
    appendLittle16(payload, orientation);
    appendLittle16(payload, 0);
    appendLittle32(payload, 0);
    QByteArray segment("\xff\xe1", 2);
    const int length = int(payload.size()) + 2;
    segment.append(char(length >> 8));
    segment.append(char(length & 0xff));
    return segment + payload;
}

} // namespace

bool writeImageBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeImage(const QString& path, int width, int height, const char* format, QColor colour)
{
    // Grey pixels keep the large test images small in memory and on disk.
    QImage image(width, height, colour == Qt::gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(path, format);
    return writer.write(image);
}

bool writeOrientedJpeg(const QString& path, int width, int height, quint16 orientation)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPEG", 95))
        return false;
    // Right after the start-of-image marker.
    jpeg.insert(2, exifSegment(orientation));
    return writeImageBytes(path, jpeg);
}

QByteArray gifBytes()
{
    return QByteArray::fromHex("4749463839610100010080000000000000ffffff2c000000000100010000020244"
                               "01003b");
}

QByteArray tiffBytes()
{
    // A one-pixel, one-byte grey image, uncompressed.
    QByteArray bytes("II*\0", 4);
    appendLittle32(bytes, 8);
    const quint16 tags[][2] = {{256, 1}, {257, 1}, {258, 8}, {259, 1}, {262, 1}, {273, 0}, {278, 1}, {279, 1}};
    appendLittle16(bytes, 8);
    const quint32 dataOffset = 8 + 2 + 8 * 12 + 4;
    for (const auto& tag : tags) {
        appendLittle16(bytes, tag[0]);
        appendLittle16(bytes, 3);
        appendLittle32(bytes, 1);
        appendLittle16(bytes, tag[0] == 273 ? quint16(dataOffset) : tag[1]);
        appendLittle16(bytes, 0);
    }
    appendLittle32(bytes, 0);
    bytes.append(char(0x80));
    return bytes;
}

} // namespace velk::test
