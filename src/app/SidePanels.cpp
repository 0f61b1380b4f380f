#include "app/SidePanels.h"

#include "app/DetailsPanel.h"
#include "app/ToolsPanel.h"

#include <QMainWindow>
#include <QMenu>

namespace velk {

void installSidePanels(QMainWindow& window, ToolsPanel* tools, DetailsPanel* details, QMenu* viewMenu)
{
    window.addDockWidget(Qt::LeftDockWidgetArea, tools);
    window.addDockWidget(Qt::RightDockWidgetArea, details);
    if (viewMenu) {
        viewMenu->addAction(tools->toggleViewAction());
        viewMenu->addAction(details->toggleViewAction());
    }
    window.resizeDocks({tools, details}, {ToolsPanel::kInitialWidth, DetailsPanel::kInitialWidth},
                       Qt::Horizontal);
}

} // namespace velk
