#include "document/ui/OutlinePanel.h"

#include <QHeaderView>

namespace velk {

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kPreferredWidth = 240;

} // namespace

OutlinePanel::OutlinePanel(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("outlinePanel"));
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("İçindekiler")});
    header()->setSectionResizeMode(QHeaderView::Stretch);
    setMinimumWidth(120);
    resize(kPreferredWidth, height());
    setVisible(false);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (const int page = pageOf(item); page >= 0)
            Q_EMIT pageChosen(page);
    });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (const int page = pageOf(item); page >= 0)
            Q_EMIT pageChosen(page);
    });
}

void OutlinePanel::setEntries(const QList<OutlineEntry>& entries)
{
    clear();
    // The last item of each depth: the parent of the next deeper entry.
    QList<QTreeWidgetItem*> parents;
    for (const OutlineEntry& entry : entries) {
        const int depth = std::min(int(entry.depth), int(parents.size()));
        parents.resize(depth);
        auto* item = depth == 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.title);
        item->setToolTip(0, entry.title);
        item->setData(0, kPageRole, entry.page);
        parents.append(item);
    }
    expandToDepth(0);
    setVisible(!entries.isEmpty());
}

int OutlinePanel::pageOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kPageRole).toInt() : -1;
}

} // namespace velk
