#pragma once

// The main window's size, position, maximised state and side-panel
// visibility, kept in the settings between runs. Saved by main when the
// event loop ends and restored before the window first shows; a position
// that no longer lies on any screen (a monitor unplugged) is moved back
// onto one. GUI thread.

#include <QList>
#include <QRect>

class QMainWindow;
class QSettings;

namespace velk {

class WindowPlacement {
public:
    static void save(const QMainWindow& window, QSettings& settings);
    // Applies what save kept; a missing or damaged entry keeps the
    // window's own default. Call before the window shows.
    static void restore(QMainWindow& window, QSettings& settings);
    // saved, resized to at least minimum and at most the screen, moved onto
    // a screen when too little of it would be visible; screens are the
    // available areas, the first the primary one.
    static QRect fitted(const QRect& saved, const QList<QRect>& screens, const QSize& minimum);

    // How much of the window must lie on a screen to be reachable.
    static constexpr int kMinVisibleEdge = 96;
};

} // namespace velk
