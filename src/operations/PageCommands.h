#pragma once

// The main window's two page commands, from the user's choices to the task
// handed to the window's background runner: "Sayfaları düzenle…"
// (organise the open document) and "PDF birleştir…" (merge files). Both
// start their task without a cancellation flag.
//
// GUI thread. Created and owned (as a QObject child) by the main window,
// which connects its actions here and answers the host functions. Holds no
// document between commands.

#include "operations/DocumentEditCommands.h"
#include "operations/OrganizeLayout.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace velk {

// The questions of the page commands, as replaceable functions: the
// shipped program answers them with Qt's file dialogs and the page
// dialogs, tests answer them directly.
struct PageCommandPrompts {
    // Files to read; empty when cancelled.
    std::function<QStringList(QWidget* parent, const QString& title, const QString& filter)> openFileNames;
    // A file to write, starting from proposedName; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& proposedName,
                          const QString& filter)>
        saveFileName;
    std::function<std::optional<organize::PageLayout>(QWidget* parent, int pageCount)> organize;
    std::function<QStringList(QWidget* parent, const QStringList& paths)> mergeOrder;

    // Qt's file dialogs, showOrganizeDialog and chooseMergeOrder.
    static PageCommandPrompts dialogs();
    // The standard answer wherever prompts leaves a question unanswered.
    static PageCommandPrompts completed(PageCommandPrompts prompts);
};

class PageCommands : public QObject {
    Q_OBJECT

public:
    // window parents every dialog and owns this object.
    PageCommands(QWidget* window, EditCommandHost host, PageCommandPrompts prompts = PageCommandPrompts::dialogs());

public Q_SLOTS:
    void organizePages();
    void mergeDocuments();

private:
    bool canStart() const;

    QWidget* m_window;
    EditCommandHost m_host;
    PageCommandPrompts m_prompts;
};

} // namespace velk
