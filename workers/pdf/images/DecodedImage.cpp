#include "images/DecodedImage.h"

#include "images/ImagePageLimits.h"

#include <QFileInfo>
#include <QImageReader>

namespace velk {

namespace {

bool isAcceptedFormat(const QByteArray& format)
{
    const QByteArray lower = format.toLower();
    return lower == "png" || lower == "jpeg" || lower == "bmp";
}

DecodedImage failure(const char* sentence)
{
    return DecodedImage{QImage(), QString::fromUtf8(sentence)};
}

} // namespace

void limitImageReaderAllocation()
{
    QImageReader::setAllocationLimit(ImagePageLimits::kReaderAllocationMegabytes);
}

DecodedImage decodePageImage(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.isSymLink() || !info.isFile() || info.size() > ImagePageLimits::kMaxFileBytes)
        return failure("Görsel okunamıyor veya boyut sınırı aşıldı.");
    QImageReader reader(path);
    // The content decides the format, never the file's suffix.
    reader.setDecideFormatFromContent(true);
    if (!isAcceptedFormat(reader.format()))
        return failure("Yalnız PNG, JPEG ve BMP desteklenir.");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()
        || std::int64_t(size.width()) * size.height() > ImagePageLimits::kMaxPixels)
        return failure("Görsel 20 megapiksel sınırını aşıyor veya boyutu geçersiz.");
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (!image.isNull())
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return failure("Görsel yalıtılmış işleyicide çözülemedi.");
    return DecodedImage{image, QString()};
}

} // namespace velk
