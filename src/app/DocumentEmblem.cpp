#include "app/DocumentEmblem.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

namespace velk {

DocumentEmblem::DocumentEmblem(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
}

void DocumentEmblem::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(QColor(0x51, 0x55, 0x5F), 1.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(QColor(0x30, 0x33, 0x3A));
    painter.drawPolygon(QPolygonF{{30, 10}, {83, 10}, {110, 37}, {110, 129}, {30, 129}});
    painter.setBrush(QColor(0x44, 0x48, 0x51));
    painter.drawPolygon(QPolygonF{{83, 10}, {83, 37}, {110, 37}});

    painter.setPen(QPen(QColor(0x71, 0x77, 0x83), 3, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    painter.drawLine(QPointF(47, 56), QPointF(89, 56));
    painter.drawLine(QPointF(47, 68), QPointF(83, 68));

    const QRectF label(13, 84, 82, 34);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xDD, 0x4B, 0x4B));
    painter.drawRoundedRect(label, 7, 7);

    QFont labelFont = font();
    labelFont.setPixelSize(20);
    labelFont.setWeight(QFont::Bold);
    painter.setFont(labelFont);
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignCenter, QStringLiteral("PDF"));
}

} // namespace velk
