#include "MainWindowHarness.h"

#include "app/MainWindow.h"
#include "document/ui/NativeDocumentTab.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTabWidget>
#include <QTest>

namespace velk::test {

namespace {

// A task of a failed test gives up after this long.
constexpr int kTaskLimitMs = 120000;
constexpr int kGateOpenPermits = 1000000;

} // namespace

MainWindowPrompts ScriptedWindowPrompts::prompts()
{
    MainWindowPrompts prompts;
    prompts.openFileName = [this](QWidget*, const QString& title, const QString& filter) {
        openQuestions.append({title, QString(), filter});
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    };
    prompts.saveFileName = [this](QWidget*, const QString& title, const QString& proposed, const QString& filter) {
        saveQuestions.append({title, proposed, filter});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    };
    prompts.warning = [this](QWidget*, const QString& title, const QString& text) {
        warnings.append({title, text, QString()});
        if (duringWarning)
            duringWarning();
    };
    prompts.openFileNames = [this](QWidget*, const QString& title, const QString& filter) {
        openFilesQuestions.append({title, QString(), filter});
        return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.takeFirst();
    };
    prompts.document.password = [this](QWidget*, const QString&) -> std::optional<QString> {
        ++passwordQuestions;
        if (!passwordAnswers.isEmpty())
            return passwordAnswers.takeFirst();
        return std::nullopt;
    };
    return prompts;
}

TaskGate::TaskGate() = default;

TaskGate::~TaskGate()
{
    open();
}

ExportRunner::Task TaskGate::task(ExportResult result, std::function<void()> work)
{
    return [gate = m_gate, runs = m_runs, result, work] {
        runs->fetch_add(1);
        gate->tryAcquire(1, kTaskLimitMs);
        if (work)
            work();
        return result;
    };
}

ExportRunner::Task TaskGate::cancellableTask(CancelFlag cancel, ExportResult result, std::function<void()> work)
{
    return [gate = m_gate, runs = m_runs, cancel, result, work] {
        runs->fetch_add(1);
        const QDeadlineTimer limit(kTaskLimitMs);
        while (!cancel->load() && !limit.hasExpired()) {
            if (gate->tryAcquire(1, 5))
                break;
        }
        if (work)
            work();
        return result;
    };
}

void TaskGate::open()
{
    if (!m_opened)
        m_gate->release(kGateOpenPermits);
    m_opened = true;
}

QList<NativeDocumentTab*> documentTabs(const MainWindow& window)
{
    QList<NativeDocumentTab*> tabs;
    for (int i = 0; i < window.tabs()->count(); ++i) {
        if (auto* tab = qobject_cast<NativeDocumentTab*>(window.tabs()->widget(i)))
            tabs.append(tab);
    }
    return tabs;
}

NativeDocumentTab* tabForFile(const MainWindow& window, const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (NativeDocumentTab* tab : documentTabs(window)) {
        if (!canonical.isEmpty() && tab->sourcePath() == canonical)
            return tab;
    }
    return nullptr;
}

bool waitUntilSettled(NativeDocumentTab* tab)
{
    // The message line says "loading" until the open has either outcome.
    const QString loading = QStringLiteral("Belge yükleniyor…");
    return tab && QTest::qWaitFor([tab, loading] { return tab->document() || tab->message() != loading; },
                                  kOpenWaitMs);
}

bool waitUntilOpen(NativeDocumentTab* tab)
{
    return waitUntilSettled(tab) && tab->document();
}

bool waitUntilIdle(const MainWindow& window)
{
    return QTest::qWaitFor([&window] { return !window.isBusy(); }, kOpenWaitMs);
}

} // namespace velk::test
