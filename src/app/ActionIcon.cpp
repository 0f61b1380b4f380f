#include "app/ActionIcon.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

namespace velk {

namespace {

// The icons are designed on a 24 x 24 grid and painted at twice that size.
constexpr qreal kGridScale = 2.0;

void drawFolder(QPainter& painter)
{
    const QPolygonF outline{{3, 8}, {3, 5}, {10, 5}, {12, 8}, {21, 8}, {19, 20}, {3, 20}};
    painter.drawPolygon(outline);
    painter.drawLine(QPointF(3, 11), QPointF(20, 11));
}

void drawPageWithPlus(QPainter& painter)
{
    painter.drawRoundedRect(QRectF(5, 3, 14, 18), 2, 2);
    painter.drawLine(QPointF(12, 8), QPointF(12, 16));
    painter.drawLine(QPointF(8, 12), QPointF(16, 12));
}

void drawPicture(QPainter& painter)
{
    painter.drawRoundedRect(QRectF(3, 5, 18, 15), 2, 2);
    painter.drawEllipse(QPointF(8, 10), 1.6, 1.6);
    const QPolygonF ridge{{5, 18}, {11, 12}, {15, 16}, {18, 13}, {20, 16}};
    painter.drawPolyline(ridge);
}

} // namespace

QPixmap drawActionIcon(ActionIconKind kind)
{
    QPixmap pixmap(kActionIconPixels, kActionIconPixels);
    pixmap.setDevicePixelRatio(kActionIconPixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Logical 48 x 48 after the pixel ratio; the grid doubles it once more.
    painter.scale(kGridScale, kGridScale);
    painter.setPen(QPen(QColor(0xA9, 0xC6, 0xFF), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    switch (kind) {
    case ActionIconKind::Folder:
        drawFolder(painter);
        break;
    case ActionIconKind::PageWithPlus:
        drawPageWithPlus(painter);
        break;
    case ActionIconKind::Picture:
        drawPicture(painter);
        break;
    }
    return pixmap;
}

} // namespace velk
