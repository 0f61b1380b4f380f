#pragma once

// What velk-pdf does between process start and its first window, apart from
// creating the application object and showing the window: the command-line
// documents, the current directory, the image limit and the theme. Runs on
// the GUI thread after the application object exists.

#include "app/Theme.h"

#include <QString>
#include <QStringList>

namespace velk {

// Exit status when the application directory cannot become current or the
// theme cannot be loaded; nothing is shown and nothing is written.
inline constexpr int kStartupFailureStatus = 2;

// Every image the GUI decodes is refused beyond this many MiB of pixels.
inline constexpr int kImageAllocationLimitMiB = 128;

struct StartupPlan {
    QStringList arguments;         // command-line arguments after the program name
    QString startDirectory;        // current directory when the process started
    QString applicationDirectory;  // becomes the current directory
    ThemeResources theme;
};

struct StartupOutcome {
    int exitStatus = 0;            // 0, or kStartupFailureStatus
    QStringList documentPaths;     // absolute, in argument order

    bool succeeded() const { return exitStatus == 0; }
};

// Resolves the documents, enters the application directory, bounds image
// decoding and applies the theme, stopping at the first failure.
StartupOutcome prepareStartup(const StartupPlan& plan);

} // namespace velk
