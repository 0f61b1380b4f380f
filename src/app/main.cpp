// velk-pdf: the desktop application. Start-up resolves the documents named
// on the command line, enters the application directory and applies the
// theme; either failure ends the process with status 2 before any window.
// Then the main window shows, with each named document in its own tab.

#include "app/AppIdentity.h"
#include "document/core/LeftoverWorkspaces.h"
#include "app/MainWindow.h"
#include "app/QtTurkish.h"
#include "app/Startup.h"
#include "app/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QSettings>

#include <cstdlib>

namespace {

// Status when Qt cannot go on at all, typically with no display to show on.
constexpr int kQtFatalStatus = 1;

// The program writes no diagnostics; Qt's own messages are dropped too. A
// fatal one would otherwise abort with a core dump; ending quietly with a
// status says the same.
void discardMessage(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg)
        std::_Exit(kQtFatalStatus);
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(discardMessage);
    QApplication application(argc, argv);
    velk::applyApplicationIdentity(application);
    // Without Debian's Qt translations the standard dialogs stay English.
    velk::QtTurkish::install(application);
    // Working copies and task workspaces of instances that were killed
    // before they could remove them.
    velk::LeftoverWorkspaces::removeAtStart();

    velk::StartupPlan plan;
    plan.arguments = QApplication::arguments().mid(1);
    plan.startDirectory = QDir::currentPath();
    plan.applicationDirectory = QApplication::applicationDirPath();
    const velk::StartupOutcome outcome = velk::prepareStartup(plan);
    if (!outcome.succeeded())
        return outcome.exitStatus;

    velk::MainWindow window;
    QSettings settings;
    velk::WindowPlacement::restore(window, settings);
    window.show();
    window.openDocuments(outcome.documentPaths);
    const int status = application.exec();
    velk::WindowPlacement::save(window, settings);
    return status;
}
