#pragma once

// Every command of the main window as an action with its exact text,
// shortcut, tool tip and icon. The menus, the main tool bar, the start page
// and the tools panel all show these same actions, so enabling, disabling
// and triggering stay in one place. Created on the GUI thread; the parent
// passed in (the main window) owns the actions.

#include "app/ToolActions.h"

class QObject;

namespace velk {

// The commands the start page and the tools panel mirror (ToolActions),
// and the rest of the menus.
struct MainWindowActions : ToolActions {
    QAction* saveCopy = nullptr;          // "Farklı kaydet…"
    QAction* quit = nullptr;              // "Çı&kış"
    QAction* fullScreen = nullptr;        // "Tam ekran", checkable
    QAction* addShape = nullptr;          // "Vurgulama veya şekil ekle…"
    QAction* signDocument = nullptr;      // "Cihazla imzala…"
    QAction* verifySignatures = nullptr;  // "İmzaları doğrula…"
    QAction* secureUpdate = nullptr;      // "Güvenli güncelleme…"
    // Desktop conventions (DesktopActions.cpp).
    QAction* print = nullptr;             // "Yazdır…"
    QAction* closeTab = nullptr;          // "Sekmeyi kapat"
    QAction* nextTab = nullptr;           // "Sonraki sekme"
    QAction* previousTab = nullptr;       // "Önceki sekme"
    QAction* clearRecent = nullptr;       // "Listeyi temizle"
    QAction* about = nullptr;             // "Hakkında"
};

// Fills in the desktop-convention actions of actions.
void createDesktopActions(MainWindowActions& actions, QObject* parent);

// All enabled and visible except the office conversion, which stays hidden
// and disabled: this build has no converter to offer.
MainWindowActions createMainWindowActions(QObject* parent);

} // namespace velk
