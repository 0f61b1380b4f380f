#pragma once

// What a widget looks like once painted with the application style sheet.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace velk::test {

inline QColor pixelOf(QWidget& widget, const QPoint& point)
{
    return widget.grab().toImage().pixelColor(point);
}

inline QColor opaque(const char* name)
{
    return QColor(QString::fromLatin1(name));
}

} // namespace velk::test
