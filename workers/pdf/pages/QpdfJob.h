#pragma once

// qpdf's command-line job interface, reached through its one C function,
// loaded at run time from the directory of the running executable. The
// library stays mapped until the process exits (the worker runs one job).

#include <QString>
#include <QStringList>

namespace velk {

class QpdfJob {
public:
    enum class Outcome { Succeeded, Failed, LibraryMissing, FunctionMissing };

    // Loads the library and resolves the job function; nothing runs yet.
    static Outcome load();

    // Runs the job once with the arguments (argument 0 is "qpdf"). Only an
    // exit status of 0 succeeds: qpdf's warnings count as failure. qpdf's
    // own messages are kept off the worker's standard output and error.
    static Outcome run(const QStringList& arguments);

    static QString libraryPath();
};

} // namespace velk
