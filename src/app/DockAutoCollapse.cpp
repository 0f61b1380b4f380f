#include "app/DockAutoCollapse.h"

#include <QDockWidget>
#include <QVariant>

namespace velk {

int dockCollapseWidth(const QString& panelObjectName)
{
    return panelObjectName == QLatin1String("toolsPanel") ? kToolsPanelCollapseWidth : kOtherPanelCollapseWidth;
}

DockCollapseStep dockCollapseStep(int windowWidth, int collapseWidth, bool autoCollapsed)
{
    if (windowWidth < collapseWidth)
        return autoCollapsed ? DockCollapseStep::Keep : DockCollapseStep::Collapse;
    return autoCollapsed ? DockCollapseStep::Restore : DockCollapseStep::Keep;
}

void applyDockAutoCollapse(QDockWidget& panel, const QWidget& window, int windowWidth)
{
    const bool autoCollapsed = panel.property(kAutoCollapsedProperty).toBool();
    switch (dockCollapseStep(windowWidth, dockCollapseWidth(panel.objectName()), autoCollapsed)) {
    case DockCollapseStep::Keep:
        return;
    case DockCollapseStep::Collapse:
        // Asked relative to the window: while the window itself is not yet
        // on screen (its first resize), an open panel still counts as open.
        panel.setProperty(kRestoreVisibleProperty, panel.isVisibleTo(&window));
        panel.setProperty(kAutoCollapsedProperty, true);
        panel.hide();
        return;
    case DockCollapseStep::Restore:
        panel.setProperty(kAutoCollapsedProperty, false);
        if (panel.property(kRestoreVisibleProperty).toBool())
            panel.show();
        return;
    }
}

} // namespace velk
