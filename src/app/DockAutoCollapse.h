#pragma once

// Side panels make room for the document on narrow windows: each dock
// panel hides itself below a window width and comes back above it, unless
// the user had closed it by hand. The main window applies this to every
// dock after each resize. GUI thread.

#include <QString>

class QDockWidget;
class QWidget;

namespace velk {

// Below these window widths (pixels) a panel collapses: the tools panel
// last, since it holds every command.
inline constexpr int kToolsPanelCollapseWidth = 900;
inline constexpr int kOtherPanelCollapseWidth = 1120;

// Dynamic properties kept on each dock panel.
inline constexpr char kAutoCollapsedProperty[] = "autoCollapsed";
inline constexpr char kRestoreVisibleProperty[] = "restoreVisible";

enum class DockCollapseStep {
    Keep,      // nothing to do
    Collapse,  // remember whether it is shown, then hide it
    Restore,   // forget the collapse; show it again if it was shown
};

// The width below which the panel with this object name collapses.
int dockCollapseWidth(const QString& panelObjectName);

// What a panel collapsed automatically (or not) does at this window width.
DockCollapseStep dockCollapseStep(int windowWidth, int collapseWidth, bool autoCollapsed);

// Applies the step to the panel through its two properties. window is the
// panel's main window: "shown" means shown whenever the window is.
void applyDockAutoCollapse(QDockWidget& panel, const QWidget& window, int windowWidth);

} // namespace velk
