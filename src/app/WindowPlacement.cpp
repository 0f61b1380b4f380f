#include "app/WindowPlacement.h"

#include "app/DockAutoCollapse.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QVariant>

#include <optional>

namespace velk {

namespace {

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kMaximizedKey = QStringLiteral("window/maximized");
const QString kPanelKey = QStringLiteral("window/panel/%1");

// Sizes beyond any real screen are a damaged entry, not a window.
constexpr int kMaxCoordinate = 100000;

bool isPlausible(const QRect& rect)
{
    return rect.isValid() && qAbs(rect.x()) <= kMaxCoordinate && qAbs(rect.y()) <= kMaxCoordinate &&
           rect.width() <= kMaxCoordinate && rect.height() <= kMaxCoordinate;
}

// The panel as the user left it, apart from a collapse the window made
// itself because it was narrow.
bool panelWanted(const QDockWidget& panel)
{
    if (panel.property(kAutoCollapsedProperty).toBool())
        return panel.property(kRestoreVisibleProperty).toBool();
    return !panel.isHidden();
}

// A boolean kept by save; read back from the file it is the text "true" or
// "false", anything else is damage and counts as absent.
std::optional<bool> readFlag(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return text == QLatin1String("true");
    return std::nullopt;
}

QList<QRect> availableScreens()
{
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens.append(screen->availableGeometry());
    }
    return screens;
}

} // namespace

void WindowPlacement::save(const QMainWindow& window, QSettings& settings)
{
    settings.setValue(kGeometryKey, window.normalGeometry());
    settings.setValue(kMaximizedKey, window.isMaximized());
    for (const QDockWidget* panel : window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!panel->objectName().isEmpty())
            settings.setValue(kPanelKey.arg(panel->objectName()), panelWanted(*panel));
    }
}

void WindowPlacement::restore(QMainWindow& window, QSettings& settings)
{
    const QVariant geometry = settings.value(kGeometryKey);
    if (geometry.typeId() == QMetaType::QRect && isPlausible(geometry.toRect()))
        window.setGeometry(fitted(geometry.toRect(), availableScreens(), window.minimumSize()));
    if (readFlag(settings, kMaximizedKey).value_or(false))
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    for (QDockWidget* panel : window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const std::optional<bool> visible = readFlag(settings, kPanelKey.arg(panel->objectName())))
            panel->setVisible(*visible);
    }
}

QRect WindowPlacement::fitted(const QRect& saved, const QList<QRect>& screens, const QSize& minimum)
{
    QRect rect = saved;
    rect.setSize(rect.size().expandedTo(minimum));
    if (screens.isEmpty())
        return rect;
    for (const QRect& screen : screens) {
        const QRect visible = rect.intersected(screen);
        // The title bar must be reachable to move the window at all.
        if (visible.width() >= kMinVisibleEdge && visible.height() >= kMinVisibleEdge && rect.top() >= screen.top()) {
            rect.setSize(rect.size().boundedTo(screen.size()).expandedTo(minimum));
            return rect;
        }
    }
    const QRect primary = screens.first();
    rect.setSize(rect.size().boundedTo(primary.size()).expandedTo(minimum));
    rect.moveCenter(primary.center());
    return rect;
}

} // namespace velk
