#pragma once

// The right "Belge" panel: what the current tab is, and a reminder that the
// work stays on this computer. GUI thread; owned by the main window once
// docked.

#include <QDockWidget>

class QLabel;
class QTabWidget;

namespace velk {

class DetailsPanel : public QDockWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumWidth = 210;
    static constexpr int kMaximumWidth = 280;
    static constexpr int kInitialWidth = 220;

    explicit DetailsPanel(QWidget* parent = nullptr);

    // Shows the tab at index of tabs: the start texts for no tab or the
    // start page, the tab's title otherwise. Run on every tab change.
    void updateDetailsPanel(const QTabWidget& tabs, int index);

    QString title() const;
    QString text() const;

private:
    void showStartTexts();

    QLabel* m_title = nullptr;
    QLabel* m_text = nullptr;
};

} // namespace velk
