#pragma once

// The "İçindekiler" side panel of a document tab: the outline as a tree,
// built from the worker's flat list with depths; each item carries its
// destination page. Owned by the tab; GUI thread.

#include "worker/contract/operations/OutlineContract.h"

#include <QTreeWidget>

namespace velk {

class OutlinePanel : public QTreeWidget {
    Q_OBJECT

public:
    explicit OutlinePanel(QWidget* parent = nullptr);

    // Replaces the tree; hides the panel when there is nothing to show.
    void setEntries(const QList<OutlineEntry>& entries);

    // The page an item goes to, -1 for none.
    static int pageOf(const QTreeWidgetItem* item);

Q_SIGNALS:
    void pageChosen(int page);
};

} // namespace velk
