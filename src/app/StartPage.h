#pragma once

// The start tab: the document emblem, a welcome text, two cards for creating
// PDFs and the emphasised "open" button, all mirroring the main window's
// actions. It holds no state of its own. GUI thread; owned by the tab widget.

#include <QScrollArea>

class QAction;
class QToolButton;

namespace velk {

class RecentDocumentsList;

class StartPage : public QScrollArea {
    Q_OBJECT

public:
    StartPage(QAction* openAction, QAction* blankPdfAction, QAction* imagesToPdfAction,
              QWidget* parent = nullptr);

    QToolButton* blankPdfCard() const { return m_blankPdfCard; }
    QToolButton* imagesToPdfCard() const { return m_imagesToPdfCard; }
    QToolButton* openButton() const { return m_openButton; }
    // Filled by the main window; hidden while empty.
    RecentDocumentsList* recentList() const { return m_recentList; }

private:
    QWidget* makeCardRow(QAction* blankPdfAction, QAction* imagesToPdfAction, QWidget* parent);

    QToolButton* m_blankPdfCard = nullptr;
    QToolButton* m_imagesToPdfCard = nullptr;
    QToolButton* m_openButton = nullptr;
    RecentDocumentsList* m_recentList = nullptr;
};

} // namespace velk
