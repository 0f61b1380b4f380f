#pragma once

// The documents named on velk-pdf's command line. Called by start-up on the
// GUI thread before the application directory becomes current, so relative
// paths still mean what the user typed.

#include <QString>
#include <QStringList>

namespace velk {

class CommandLine {
public:
    // arguments: everything after the program name. Every argument becomes an
    // absolute file path, relative ones resolved against startDirectory;
    // order and repetitions are kept (the main window folds repeated files
    // into one tab by their canonical path).
    static QStringList documentPaths(const QStringList& arguments, const QString& startDirectory);
};

} // namespace velk
