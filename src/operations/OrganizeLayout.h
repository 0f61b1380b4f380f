#pragma once

// The organise dialog's result and the organise task's input. It lives in
// its own namespace because velk::PageLayout already names the page view's
// geometry.

#include <QList>

namespace velk::organize {

struct PageLayout {
    // 0-based page indices in output order; repeats allowed.
    QList<int> pages;
    // One extra clockwise rotation (0, 90, 180 or 270) per entry of pages.
    QList<int> rotations;
};

} // namespace velk::organize
