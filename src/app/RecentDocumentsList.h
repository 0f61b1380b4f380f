#pragma once

// The start page's list of recently opened documents: name, folder and
// date of each, newest first; a document whose file is gone is drawn
// greyed but can still be chosen, so the window can say it is missing.
// Hidden while the list is empty. GUI thread; owned by the start page.

#include "app/RecentFiles.h"

#include <QWidget>

class QListWidget;

namespace velk {

class RecentDocumentsList : public QWidget {
    Q_OBJECT

public:
    explicit RecentDocumentsList(QWidget* parent = nullptr);

    void setEntries(const QList<RecentFile>& entries);
    QListWidget* list() const { return m_list; }

    // The greyed text of a document whose file is gone.
    static constexpr char kMissingColour[] = "#98A6B8";
    static constexpr int kMaximumWidth = 580;

Q_SIGNALS:
    void documentChosen(const QString& path);

private:
    void choose(const QString& path);

    QListWidget* m_list = nullptr;
    // A double click is also a click: one choice, not two.
    QString m_lastChosen;
    qint64 m_lastChosenAt = 0;
};

} // namespace velk
