#pragma once

// Paints one page of the page view: its shadow and paper, then the rendered
// image through the reading filter, or the page's placeholder or error
// text. The file's colours are never changed: filters act on what is
// drawn. GUI thread; called by PdfCanvas::paintEvent.

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

namespace velk {

namespace ReadingFilter {
inline constexpr int kNormal = 0;
inline constexpr int kNight = 1;
inline constexpr int kEyeProtection = 2;
} // namespace ReadingFilter

class PagePainter {
public:
    // target: the page in viewport coordinates; visible: the viewport.
    PagePainter(QPainter& painter, const QRectF& target, const QRectF& visible);

    void paintPaper();
    void paintImage(const QImage& image, int readingFilter);
    void paintText(const QString& text);

    // Translucent marks over found text, in viewport coordinates.
    static void paintMarks(QPainter& painter, const QList<QRectF>& marks);
    // The dragged-out selection, in viewport coordinates.
    static void paintSelection(QPainter& painter, const QRectF& area);

private:
    void paintInverted(const QImage& image);

    QPainter& m_painter;
    QRectF m_target;
    QRectF m_visible;
};

} // namespace velk
