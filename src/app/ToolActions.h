#pragma once

// The main window's commands that the start page and the tools panel mirror.
// The main window owns the actions; the pages only hold pointers to them, so
// enabling, disabling and triggering stay in one place.

class QAction;

namespace velk {

struct ToolActions {
    QAction* open = nullptr;
    QAction* blankPdf = nullptr;
    QAction* imagesToPdf = nullptr;
    QAction* officeToPdf = nullptr;
    QAction* editText = nullptr;
    QAction* fillForm = nullptr;
    QAction* organizePages = nullptr;
    QAction* merge = nullptr;
    QAction* ocr = nullptr;
};

// Gives every command its drawn icon; set on the actions so the menus, the
// tool bar and the buttons share them. Missing actions are skipped.
void setActionIcons(const ToolActions& actions);

} // namespace velk
