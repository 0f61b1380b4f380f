#pragma once

// What the main window's tests share: answers to the window's questions
// prepared by the test, with every question recorded, and background tasks
// that wait for the test's go-ahead, so nothing depends on timing.

#include "app/ExportRunner.h"
#include "app/MainWindowPrompts.h"

#include <QList>
#include <QSemaphore>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace velk {
class MainWindow;
class NativeDocumentTab;
}

namespace velk::test {

// Generous: a worker run waits behind every other run of this user.
inline constexpr int kOpenWaitMs = 60000;

struct WindowQuestion {
    QString title;
    QString text;    // warning sentence, or proposed name of a save question
    QString filter;
};

// Answers from the lists in order; an exhausted list answers "cancelled".
// Must outlive the window it answers for.
struct ScriptedWindowPrompts {
    QStringList openAnswers;
    QStringList saveAnswers;
    QList<WindowQuestion> openQuestions;
    QList<WindowQuestion> saveQuestions;
    QList<WindowQuestion> warnings;
    // Multiple-file questions (merging) and their answers.
    QList<QStringList> openFilesAnswers;
    QList<WindowQuestion> openFilesQuestions;
    int passwordQuestions = 0;
    // Answers to the tabs' password questions; exhausted: cancelled.
    QList<std::optional<QString>> passwordAnswers;
    // Runs while a warning is on screen, before it is answered.
    std::function<void()> duringWarning;

    MainWindowPrompts prompts();
};

// Tasks held until the test opens the gate. Destroying the gate opens it,
// so no task outlives a failed test.
class TaskGate {
public:
    TaskGate();
    ~TaskGate();
    TaskGate(const TaskGate&) = delete;
    TaskGate& operator=(const TaskGate&) = delete;

    // Waits for the gate, runs work (if any) and answers result.
    ExportRunner::Task task(ExportResult result, std::function<void()> work = {});
    // Waits until cancel is set (or the gate opens), runs work (if any)
    // and answers result.
    ExportRunner::Task cancellableTask(CancelFlag cancel, ExportResult result, std::function<void()> work = {});
    // Lets every waiting task go on.
    void open();
    // How many tasks have started running.
    int runs() const { return m_runs->load(); }

private:
    std::shared_ptr<QSemaphore> m_gate = std::make_shared<QSemaphore>(0);
    std::shared_ptr<std::atomic<int>> m_runs = std::make_shared<std::atomic<int>>(0);
    bool m_opened = false;
};

// The document tab whose source is the file at path, or null.
NativeDocumentTab* tabForFile(const MainWindow& window, const QString& path);
// Document tabs in tab order.
QList<NativeDocumentTab*> documentTabs(const MainWindow& window);
// True once the tab's open has ended, either way.
bool waitUntilSettled(NativeDocumentTab* tab);
// True once the tab has its document (false when it failed or timed out).
bool waitUntilOpen(NativeDocumentTab* tab);
// True once the window's background task has ended.
bool waitUntilIdle(const MainWindow& window);

} // namespace velk::test
