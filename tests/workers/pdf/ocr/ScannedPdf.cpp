#include "ScannedPdf.h"

#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace velk::test {

namespace {

constexpr int kPageWidthPt = 400;
constexpr int kPageHeightPt = 120;
// Pixels of the image per point of the page: a 300-dpi scan.
constexpr double kPixelsPerPoint = 300.0 / 72.0;

QImage scannedText(const QString& text)
{
    QImage image(int(kPageWidthPt * kPixelsPerPoint), int(kPageHeightPt * kPixelsPerPoint), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("Roboto"));
    font.setPixelSize(44);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

} // namespace

bool writeScannedPdf(const QString& path, const QStringList& pageTexts)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QSizeF(kPageWidthPt, kPageHeightPt), QPageSize::Point));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(72);
    QPainter painter;
    if (pageTexts.isEmpty() || !painter.begin(&writer))
        return false;
    for (int index = 0; index < pageTexts.size(); ++index) {
        if (index > 0 && !writer.newPage())
            return false;
        painter.drawImage(QRectF(0, 0, kPageWidthPt, kPageHeightPt), scannedText(pageTexts.at(index)));
    }
    return painter.end();
}

} // namespace velk::test
