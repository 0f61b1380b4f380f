#include "app/MainWindowActions.h"

#include <QAction>
#include <QKeySequence>

namespace velk {

namespace {

QAction* makeAction(QObject* parent, const QString& text, const QList<QKeySequence>& shortcuts,
                    const QString& toolTip = QString())
{
    auto* action = new QAction(text, parent);
    action->setShortcuts(shortcuts);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    return action;
}

} // namespace

void createDesktopActions(MainWindowActions& a, QObject* parent)
{
    a.print = makeAction(parent, QStringLiteral("Yazdır…"), {QKeySequence(Qt::CTRL | Qt::Key_P)},
                         QStringLiteral("Açık belgeyi yazıcıya gönder"));
    // Both the common and the classic desktop keys close a document tab.
    a.closeTab = makeAction(parent, QStringLiteral("Sekmeyi kapat"),
                            {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4)});
    a.nextTab = makeAction(parent, QStringLiteral("Sonraki sekme"), {QKeySequence(Qt::CTRL | Qt::Key_Tab)});
    a.previousTab = makeAction(parent, QStringLiteral("Önceki sekme"),
                               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    a.clearRecent = makeAction(parent, QStringLiteral("Listeyi temizle"), {});
    a.about = makeAction(parent, QStringLiteral("Hakkında"), {QKeySequence(Qt::Key_F1)});
}

} // namespace velk
