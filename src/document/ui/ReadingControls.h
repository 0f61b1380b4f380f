#pragma once

// Wires the reading comforts of a document tab: the zoom box (its items and
// a typed percentage), the zoom keys (Ctrl+plus, Ctrl+minus, Ctrl+0), Ctrl+F
// for the search box, and the focus going back to the page after a choice in
// a tool-bar box, so that PageDown and the arrows move the page again. GUI
// thread; everything it creates is owned by the tab.

#include <QString>

#include <functional>

class QComboBox;
class QWidget;

namespace velk {

class PdfCanvas;
struct DocumentToolbars;

class ReadingControls {
public:
    // message shows a sentence in the tab's message line.
    static void install(QWidget* tab, const DocumentToolbars& bars, PdfCanvas* view,
                        std::function<void(const QString&)> message);

    // The zoom box's text for a factor the view chose by itself.
    static void showZoomFactor(QComboBox* zoomCombo, double factor);
};

} // namespace velk
