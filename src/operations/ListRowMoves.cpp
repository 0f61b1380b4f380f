#include "operations/ListRowMoves.h"

#include <QListWidget>
#include <QPushButton>

namespace velk {

namespace {

constexpr int kButtonSpacing = 12;

QPushButton* moveButton(const QString& text, QListWidget* list, int step, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setToolTip(QStringLiteral("Seçili satırın sırasını değiştir"));
    QObject::connect(button, &QPushButton::clicked, list, [list, step] { moveCurrentRow(list, step); });
    return button;
}

} // namespace

void moveCurrentRow(QListWidget* list, int step)
{
    const int row = list->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list->count())
        return;
    QListWidgetItem* item = list->takeItem(row);
    list->insertItem(target, item);
    list->setCurrentRow(target);
}

QHBoxLayout* createMoveButtons(QListWidget* list, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(kButtonSpacing);
    row->addWidget(moveButton(QStringLiteral("Yukarı taşı"), list, -1, parent));
    row->addWidget(moveButton(QStringLiteral("Aşağı taşı"), list, +1, parent));
    row->addStretch(1);
    return row;
}

} // namespace velk
