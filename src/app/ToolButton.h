#pragma once

// Buttons that mirror one of the main window's actions: the start page's
// cards and the panels' side tools. GUI thread; the parent owns the button.

#include <QString>

class QAction;
class QToolButton;
class QWidget;

namespace velk {

// card: a large start-page card (text under a 36 px icon, "actionCard");
// otherwise a side tool (text beside a 22 px icon, "sideTool"). The button
// follows the action's enabled state and triggers it, but always shows text,
// never the action's menu text.
QToolButton* makeToolButton(QWidget* parent, QAction* action, const QString& text, bool card);

} // namespace velk
