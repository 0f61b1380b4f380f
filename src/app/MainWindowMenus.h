#pragma once

// The menu bar and the main tool bar of the main window, built from its
// actions. GUI thread; the window owns everything created here.

class QMainWindow;
class QMenu;
class QToolBar;

namespace velk {

struct MainWindowActions;

// Adds "&Dosya", "&Görünüm", "&Belge", "&E-imza" and "&Yardım" to the
// window's menu bar and returns the view menu, where the side panels'
// toggles go after "Tam ekran".
QMenu* addMainMenus(QMainWindow& window, const MainWindowActions& actions);

// The "Dosya araçları" tool bar: the brand, then the three file commands.
QToolBar* addMainToolbar(QMainWindow& window, const MainWindowActions& actions);

} // namespace velk
