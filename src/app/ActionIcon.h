#pragma once

// The line icons of the commands, drawn rather than loaded so that they stay
// sharp on high-density displays. GUI thread only (QPixmap).

#include <QPixmap>

namespace velk {

enum class ActionIconKind {
    Folder = 0,
    PageWithPlus = 1,
    Picture = 2,
};

// 96 x 96 pixels at device pixel ratio 2 (48 x 48 logical), transparent
// background.
inline constexpr int kActionIconPixels = 96;
inline constexpr qreal kActionIconPixelRatio = 2.0;

QPixmap drawActionIcon(ActionIconKind kind);

} // namespace velk
