#pragma once

// Docks the tools panel on the left and the details panel on the right of
// the main window, with their show/hide toggles in the view menu. GUI
// thread; the window takes ownership of both panels.

class QMainWindow;
class QMenu;

namespace velk {

class DetailsPanel;
class ToolsPanel;

// viewMenu may be null (no toggles are added then).
void installSidePanels(QMainWindow& window, ToolsPanel* tools, DetailsPanel* details, QMenu* viewMenu);

} // namespace velk
