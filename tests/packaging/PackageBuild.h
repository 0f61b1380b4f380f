#pragma once

// Builds the Debian package from the already-built tree the way
// scripts/package.sh does (install into a staging root, then CPack over
// it), all inside a directory the test owns, and runs the Debian tools
// that judge it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk::test {

struct CommandRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray output; // standard output and standard error, merged
    bool succeeded() const { return finished && exitCode == 0; }
};

// Runs program with arguments, bounded in time; extra environment entries
// are "NAME=value".
CommandRun runCommand(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
                      const QStringList& environment = {});

// The missing tools among those named, for a clear skip message.
QStringList missingTools(const QStringList& tools);

class PackageBuild {
public:
    explicit PackageBuild(const QString& workDirectory);

    // Installs the build tree into stagingRoot(); false with the output in
    // log() when the install fails.
    bool stage();
    // Packages stagingRoot() with CPack, with further "-D" definitions if
    // given; the package path, or empty with CPack's output in log().
    QString pack(const QStringList& definitions = {});

    QString stagingRoot() const;
    QString applicationDirectory() const; // inside stagingRoot()
    QByteArray log() const { return m_log; }

private:
    QString m_work;
    QByteArray m_log;
};

} // namespace velk::test
