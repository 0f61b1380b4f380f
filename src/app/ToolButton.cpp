#include "app/ToolButton.h"

#include <QAction>
#include <QSizePolicy>
#include <QToolButton>

namespace velk {

QToolButton* makeToolButton(QWidget* parent, QAction* action, const QString& text, bool card)
{
    auto* button = new QToolButton(parent);
    button->setToolButtonStyle(card ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    button->setIconSize(card ? QSize(36, 36) : QSize(22, 22));
    button->setObjectName(card ? QStringLiteral("actionCard") : QStringLiteral("sideTool"));
    button->setDefaultAction(action);
    button->setText(text);
    button->setAccessibleName(text);
    if (action) {
        // QToolButton copies the action's text on every change; ours wins.
        QObject::connect(action, &QAction::changed, button, [button, text] { button->setText(text); });
    }
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return button;
}

} // namespace velk
