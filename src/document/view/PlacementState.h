#pragma once

// What a click on a page means while the document tab waits for one: the
// spot for pending text or a sticky note, or one corner of an area for a
// shape. Pure state on the GUI thread, owned by NativeDocumentTab, which
// turns the outcomes into cursors, messages and signals.

#include "document/view/DocumentViewLimits.h"

#include <QPointF>
#include <QRectF>
#include <QString>

namespace velk {

class PlacementState {
public:
    enum class Outcome {
        Ignored,
        TextPlaced,
        AreaCompleted,
        AreaTooSmall,
        FirstCornerChosen,
    };

    struct Click {
        Outcome outcome = Outcome::Ignored;
        // TextPlaced: what to add and how.
        QString text;
        bool note = false;
        double size = 0.0;
        // AreaCompleted: the shape and its page-relative area.
        QString kind;
        QRectF area;
    };

    static bool isAreaKind(const QString& kind);

    void setPendingText(const QString& text, bool note, double size);
    // Pending text is dropped; the first corner is still to be chosen.
    void beginAreaPick(const QString& kind);
    void clearArea();
    void clear();

    bool hasPendingText() const { return !m_text.isEmpty(); }
    QString areaKind() const { return m_kind; }
    int firstCornerPage() const { return m_firstCornerPage; }

    Click click(int page, const QPointF& position, bool editingAllowed);

private:
    Click placeText();
    Click pickCorner(int page, const QPointF& position);

    QString m_text;
    bool m_note = false;
    double m_size = DocumentViewLimits::kDefaultTextSize;
    QString m_kind;
    QPointF m_firstCorner;
    int m_firstCornerPage = -1;
};

} // namespace velk
