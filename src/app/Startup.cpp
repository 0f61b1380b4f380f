#include "app/Startup.h"

#include "app/CommandLine.h"

#include <QDir>
#include <QImageReader>

namespace velk {

StartupOutcome prepareStartup(const StartupPlan& plan)
{
    StartupOutcome outcome;
    // Resolved before the current directory changes: a relative path means
    // the directory the user started the program in.
    outcome.documentPaths = CommandLine::documentPaths(plan.arguments, plan.startDirectory);

    // The workers and engine libraries sit beside the program; nothing may
    // depend on where the user happened to start it.
    if (plan.applicationDirectory.isEmpty() || !QDir::setCurrent(plan.applicationDirectory)) {
        outcome.exitStatus = kStartupFailureStatus;
        return outcome;
    }
    QImageReader::setAllocationLimit(kImageAllocationLimitMiB);
    if (!applyTheme(plan.theme))
        outcome.exitStatus = kStartupFailureStatus;
    return outcome;
}

} // namespace velk
