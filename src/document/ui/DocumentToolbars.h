#pragma once

// The two tool bars of a document tab, built with their exact texts: page
// navigation and view settings, then search and placement. A bundle of
// pointers; every widget and action is owned by the tab passed in. GUI
// thread; the tab connects the controls.

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolBar;
class QWidget;

namespace velk {

struct DocumentToolbars {
    explicit DocumentToolbars(QWidget* owner);

    void setPageCount(int count);
    void setEnabled(bool enabled);

    QToolBar* documentBar = nullptr;
    QSpinBox* pageSpin = nullptr;
    QLabel* pageCountLabel = nullptr;
    QComboBox* zoomCombo = nullptr;
    QComboBox* viewModeCombo = nullptr;
    QComboBox* filterCombo = nullptr;

    QToolBar* searchBar = nullptr;
    QLineEdit* searchEdit = nullptr;
    QAction* findAction = nullptr;
    QAction* textAction = nullptr;
    QAction* noteAction = nullptr;
    QAction* notesAction = nullptr;
};

} // namespace velk
