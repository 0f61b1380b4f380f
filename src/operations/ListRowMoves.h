#pragma once

// The "Yukarı taşı" / "Aşağı taşı" row shared by the organise and merge
// dialogs: moves the current row of a list by one place. GUI thread; the
// buttons are parented to the given parent.

#include <QHBoxLayout>

class QListWidget;
class QWidget;

namespace velk {

// Moves the current row by step when there is one and the target lies
// inside the list, keeping it current; otherwise does nothing.
void moveCurrentRow(QListWidget* list, int step);

// The row of both buttons, wired to the list.
QHBoxLayout* createMoveButtons(QListWidget* list, QWidget* parent);

} // namespace velk
