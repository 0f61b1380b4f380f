#pragma once

// The first question of "Vurgulama veya şekil ekle…": which kind of shape
// the area pick that follows will add. GUI thread; modal.

#include "operations/EditPrompts.h"

#include <QString>

#include <optional>

class QWidget;

namespace velk {

// "highlight", "rectangle" or "ellipse"; nothing when the user cancelled.
std::optional<QString> chooseShapeKind(QWidget* parent, const EditPrompts& prompts);

} // namespace velk
