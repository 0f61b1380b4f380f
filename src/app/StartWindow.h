#pragma once

// The window velk-pdf shows until the document tab and the command wiring
// are in place: the start tab and both side panels around the commands they
// mirror. The commands are present but start nothing yet; those that need
// an open document stay disabled. GUI thread; owned by main.

#include "ToolActions.h"

#include <QMainWindow>

class QTabWidget;

namespace velk {

class DetailsPanel;
class ToolsPanel;

class StartWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit StartWindow(QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    const ToolActions& actions() const { return m_actions; }

private:
    void createActions();

    ToolActions m_actions;
    QTabWidget* m_tabs = nullptr;
    ToolsPanel* m_toolsPanel = nullptr;
    DetailsPanel* m_detailsPanel = nullptr;
};

} // namespace velk
