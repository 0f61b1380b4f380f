// The main window's desktop conventions: Ctrl+W / Ctrl+F4 close the current
// document tab, Ctrl+Tab / Ctrl+Shift+Tab switch tabs, F1 shows "Hakkında",
// the title names the current document, and a tab whose password question
// was cancelled goes away; documents that opened are listed as recent.

#include "app/MainWindow.h"

#include "app/AppIdentity.h"
#include "app/RecentDocumentsList.h"
#include "app/RecentFiles.h"
#include "app/StartPage.h"
#include "document/ui/NativeDocumentTab.h"
#include "operations/PrintCommand.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QFileInfo>
#include <QIcon>
#include <QPointer>
#include <QTabWidget>

namespace velk {

void MainWindow::connectDesktopCommands()
{
    setWindowIcon(QIcon(QString::fromUtf8(kWindowIconResource)));
    // Window-wide, so they work wherever the focus is, menus closed.
    addActions({m_actions.closeTab, m_actions.nextTab, m_actions.previousTab, m_actions.about});
    connect(m_actions.closeTab, &QAction::triggered, this, &MainWindow::closeCurrentTab);
    connect(m_actions.nextTab, &QAction::triggered, this, [this] { switchTab(1); });
    connect(m_actions.previousTab, &QAction::triggered, this, [this] { switchTab(-1); });
    connect(m_actions.about, &QAction::triggered, this, [this] { m_prompts.about(this); });
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::updateWindowTitle);
    // A placement belongs to the tab it started in: turning away ends it.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        for (NativeDocumentTab* tab : documentTabs()) {
            if (m_tabs->indexOf(tab) != index)
                tab->resetPlacement();
        }
    });
    updateWindowTitle();

    m_print = new PrintCommand(this);
    connect(m_actions.print, &QAction::triggered, this, &MainWindow::printDocument);
    connect(m_print, &PrintCommand::progressed, this, [this](int position, int count) {
        statusBar()->showMessage(QStringLiteral("Yazdırılıyor: sayfa %1 / %2").arg(position).arg(count));
    });
    connect(m_print, &PrintCommand::finished, this, &MainWindow::printFinished);

    connect(m_startPage->recentList(), &RecentDocumentsList::documentChosen, this, &MainWindow::openRecent);
    connect(m_actions.clearRecent, &QAction::triggered, this, [this] {
        QSettings settings;
        RecentFiles::clear(settings);
        refreshRecent();
    });
    if (QMenu* recent = findChild<QMenu*>(QStringLiteral("recentMenu")))
        connect(recent, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    refreshRecent();
}

void MainWindow::watchDocumentTab(NativeDocumentTab* tab)
{
    const QPointer<NativeDocumentTab> watched(tab);
    connect(tab, &NativeDocumentTab::passwordCancelled, this, [this, watched] {
        if (watched)
            closeTab(m_tabs->indexOf(watched));
    });
    // Only documents that opened are remembered.
    connect(tab, &NativeDocumentTab::ready, this, [this, watched] {
        if (!watched)
            return;
        QSettings settings;
        RecentFiles::add(settings, watched->sourcePath(), QDateTime::currentDateTimeUtc());
        refreshRecent();
    });
}

void MainWindow::openRecent(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        m_prompts.warning(this, QStringLiteral("Belge açılamadı"), QStringLiteral("Dosya bulunamadı: %1").arg(path));
        refreshRecent();
        return;
    }
    openDocument(path, false);
}

void MainWindow::refreshRecent()
{
    const QSettings settings;
    const QList<RecentFile> entries = RecentFiles::entries(settings);
    m_startPage->recentList()->setEntries(entries);
    m_actions.clearRecent->setEnabled(!entries.isEmpty());
}

void MainWindow::fillRecentMenu()
{
    auto* menu = qobject_cast<QMenu*>(sender());
    if (!menu)
        return;
    menu->clear();
    const QSettings settings;
    const QList<RecentFile> entries = RecentFiles::entries(settings);
    if (entries.isEmpty())
        menu->addAction(QStringLiteral("Liste boş"))->setEnabled(false);
    for (const RecentFile& entry : entries) {
        const QFileInfo info(entry.path);
        // "&" in a file name is text, not a mnemonic.
        QString text = info.fileName() + QStringLiteral(" — ") + info.absolutePath();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(text);
        action->setToolTip(entry.path);
        connect(action, &QAction::triggered, this, [this, path = entry.path] { openRecent(path); });
    }
    menu->addSeparator();
    menu->addAction(m_actions.clearRecent);
    m_actions.clearRecent->setEnabled(!entries.isEmpty());
}

void MainWindow::closeCurrentTab()
{
    // The start tab stays; only a document tab closes.
    if (currentDocumentTab())
        closeTab(m_tabs->currentIndex());
}

void MainWindow::switchTab(int step)
{
    const int count = m_tabs->count();
    if (count < 2)
        return;
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
}

void MainWindow::updateWindowTitle()
{
    const QString application = QString::fromUtf8(kApplicationName);
    const NativeDocumentTab* tab = currentDocumentTab();
    if (!tab || tab->sourcePath().isEmpty()) {
        setWindowTitle(application);
        return;
    }
    setWindowTitle(QStringLiteral("%1 — %2").arg(QFileInfo(tab->sourcePath()).fileName(), application));
}

} // namespace velk
