#include "document/ui/PagePainter.h"

#include <QColor>
#include <QPainter>
#include <QPen>

namespace velk {

namespace {

const QColor kShadow(QStringLiteral("#202124"));
const QColor kTextPen(QStringLiteral("#475569"));
const QColor kEyeProtectionTint(245, 191, 91, 45);
const QColor kMarkFill(255, 196, 0, 110);
const QColor kMarkEdge(214, 120, 0, 200);
const QColor kSelectionFill(37, 99, 235, 60);
const QColor kSelectionEdge(37, 99, 235, 200);
constexpr qreal kShadowDx = 3;
constexpr qreal kShadowDy = 4;
constexpr qreal kTextInset = 24;

} // namespace

PagePainter::PagePainter(QPainter& painter, const QRectF& target, const QRectF& visible)
    : m_painter(painter)
    , m_target(target)
    , m_visible(visible)
{
}

void PagePainter::paintPaper()
{
    m_painter.fillRect(m_target.translated(kShadowDx, kShadowDy), kShadow);
    m_painter.fillRect(m_target, Qt::white);
}

void PagePainter::paintImage(const QImage& image, int readingFilter)
{
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (readingFilter == ReadingFilter::kNight) {
        paintInverted(image);
        return;
    }
    m_painter.drawImage(m_target, image);
    if (readingFilter == ReadingFilter::kEyeProtection)
        m_painter.fillRect(m_target, kEyeProtectionTint);
}

void PagePainter::paintText(const QString& text)
{
    m_painter.setPen(kTextPen);
    m_painter.drawText(m_target.adjusted(kTextInset, kTextInset, -kTextInset, -kTextInset),
                       Qt::AlignCenter | Qt::TextWordWrap, text);
}

void PagePainter::paintMarks(QPainter& painter, const QList<QRectF>& marks)
{
    painter.save();
    painter.setPen(QPen(kMarkEdge, 1));
    painter.setBrush(kMarkFill);
    for (const QRectF& mark : marks)
        painter.drawRect(mark.adjusted(-1, -1, 1, 1));
    painter.restore();
}

void PagePainter::paintSelection(QPainter& painter, const QRectF& area)
{
    painter.save();
    painter.setPen(QPen(kSelectionEdge, 1, Qt::DashLine));
    painter.setBrush(kSelectionFill);
    painter.drawRect(area);
    painter.restore();
}

// Only the part of the page on screen is copied and inverted, so a paint
// costs about one viewport of pixels however large the page is.
void PagePainter::paintInverted(const QImage& image)
{
    const QRectF shown = m_target.intersected(m_visible);
    if (shown.isEmpty() || image.isNull())
        return;
    const qreal sx = image.width() / m_target.width();
    const qreal sy = image.height() / m_target.height();
    const QRectF source((shown.left() - m_target.left()) * sx, (shown.top() - m_target.top()) * sy,
                        shown.width() * sx, shown.height() * sy);
    const QRect whole = source.toAlignedRect().intersected(image.rect());
    QImage copy = image.copy(whole);
    copy.invertPixels(QImage::InvertRgb);
    m_painter.drawImage(shown, copy, source.translated(-whole.topLeft()));
}

} // namespace velk
