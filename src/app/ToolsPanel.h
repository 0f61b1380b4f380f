#pragma once

// The left "Tüm araçlar" panel: every command in sections, as side tools
// that mirror the main window's actions. GUI thread; owned by the main
// window once docked.

#include "app/ToolActions.h"

#include <QDockWidget>

class QVBoxLayout;

namespace velk {

class ToolsPanel : public QDockWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumWidth = 210;
    static constexpr int kMaximumWidth = 280;
    static constexpr int kInitialWidth = 230;

    // officeConversionAvailable: whether the "Word'den PDF" tool is shown at
    // all; the conversion answers "unavailable" in this build.
    ToolsPanel(const ToolActions& actions, bool officeConversionAvailable, QWidget* parent = nullptr);

private:
    QWidget* makeContent(const ToolActions& actions, bool officeConversionAvailable);
};

} // namespace velk
