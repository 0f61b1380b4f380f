#pragma once

// Labels of the start page and the side panels: plain text that wraps,
// styled only through its object name.

#include <QString>

class QLabel;
class QWidget;

namespace velk {

QLabel* makeShellLabel(const QString& text, const QString& objectName, QWidget* parent);

} // namespace velk
