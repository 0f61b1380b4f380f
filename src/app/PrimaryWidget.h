#pragma once

// The one emphasised button of a screen: marked by the dynamic property the
// application style sheet keys on. Its own small library, so that dialogs
// below the application shell can use it without linking the shell.

class QWidget;

namespace velk {

// Marks the widget primary and re-polishes it so the style sheet's
// [primary="true"] rules take effect at once.
void setPrimary(QWidget* widget);

} // namespace velk
