#include "document/view/PlacementState.h"

#include "document/view/DocumentViewLimits.h"

#include <algorithm>
#include <utility>

namespace velk {

bool PlacementState::isAreaKind(const QString& kind)
{
    return kind == QLatin1String("highlight") || kind == QLatin1String("rectangle")
           || kind == QLatin1String("ellipse");
}

void PlacementState::setPendingText(const QString& text, bool note, double size)
{
    m_text = text;
    m_note = note;
    m_size = size;
}

void PlacementState::beginAreaPick(const QString& kind)
{
    m_text.clear();
    m_kind = kind;
    m_firstCornerPage = -1;
}

void PlacementState::clearArea()
{
    m_kind.clear();
    m_firstCornerPage = -1;
}

void PlacementState::clear()
{
    m_text.clear();
    clearArea();
}

PlacementState::Click PlacementState::click(int page, const QPointF& position, bool editingAllowed)
{
    if (m_kind.isEmpty() || !editingAllowed)
        return m_text.isEmpty() ? Click{} : placeText();
    return pickCorner(page, position);
}

PlacementState::Click PlacementState::placeText()
{
    Click click;
    click.outcome = Outcome::TextPlaced;
    click.text = std::exchange(m_text, QString());
    click.note = m_note;
    click.size = m_size;
    return click;
}

PlacementState::Click PlacementState::pickCorner(int page, const QPointF& position)
{
    Click click;
    if (m_firstCornerPage != page) {
        // No corner yet, or one on another page: this click starts afresh.
        m_firstCorner = position;
        m_firstCornerPage = page;
        click.outcome = Outcome::FirstCornerChosen;
        return click;
    }
    const QRectF area(QPointF(std::min(m_firstCorner.x(), position.x()), std::min(m_firstCorner.y(), position.y())),
                      QPointF(std::max(m_firstCorner.x(), position.x()), std::max(m_firstCorner.y(), position.y())));
    if (area.width() < DocumentViewLimits::kMinAreaSide || area.height() < DocumentViewLimits::kMinAreaSide) {
        click.outcome = Outcome::AreaTooSmall;
        return click;
    }
    click.outcome = Outcome::AreaCompleted;
    click.kind = std::exchange(m_kind, QString());
    click.area = area;
    m_firstCornerPage = -1;
    return click;
}

} // namespace velk
