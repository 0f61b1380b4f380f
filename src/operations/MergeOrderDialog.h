#pragma once

// "PDF birleştirme sırası": the chosen files in the order they will be
// merged, reordered by drag and drop or the move buttons. GUI thread;
// modal, created on the stack by chooseMergeOrder; owns its widgets
// through Qt parenting.

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace velk {

class MergeOrderDialog : public QDialog {
    Q_OBJECT

public:
    explicit MergeOrderDialog(const QStringList& paths, QWidget* parent = nullptr);

    // The stored full paths in list order.
    QStringList orderedPaths() const;
    QListWidget* fileList() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};

// The paths in the chosen order; empty when cancelled.
QStringList chooseMergeOrder(QWidget* parent, const QStringList& paths);

} // namespace velk
