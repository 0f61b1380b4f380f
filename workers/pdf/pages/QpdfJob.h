#pragma once

// qpdf's command-line job interface, reached through its one C function,
// loaded at run time from the engine directory (the running executable's
// own unless a directory is named). The library stays mapped until the
// process exits (the worker runs one job).

#include <QString>
#include <QStringList>

namespace velk {

class QpdfJob {
public:
    enum class Outcome { Succeeded, Failed, LibraryMissing, FunctionMissing };

    // Loads the library and resolves the job function; nothing runs yet.
    static Outcome load();
    static Outcome load(const QString& directory);

    // Runs the job once with the arguments (argument 0 is "qpdf"). Only an
    // exit status of 0 succeeds: qpdf's warnings count as failure. qpdf's
    // own messages are kept off the worker's standard output and error.
    static Outcome run(const QStringList& arguments);

    static QString libraryPath();
};

} // namespace velk
