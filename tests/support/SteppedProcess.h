#pragma once

// A process killed at a chosen step. The child runs in short slices and is
// stopped (SIGSTOP) between them; while it stands still the test asks
// whether it has reached the step (a workspace exists, its worker runs, it
// holds a file open under the destination's folder) and, if so, kills it
// with SIGKILL right there, as a crash or a user's kill would. Nothing in
// the program under test knows about it.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace velk::test {

class SteppedProcess {
public:
    SteppedProcess() = default;
    ~SteppedProcess();

    SteppedProcess(const SteppedProcess&) = delete;
    SteppedProcess& operator=(const SteppedProcess&) = delete;

    bool start(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);

    // Steps the child until `reached(pid)` holds (then kills it and answers
    // true) or it ends by itself or the time runs out (false).
    bool killWhen(const std::function<bool(qint64 pid)>& reached, int timeLimitMs);
    // The same, but the child is left stopped at the step until resume().
    bool stopWhen(const std::function<bool(qint64 pid)>& reached, int timeLimitMs);
    void resume();

    // Waits for a child that was not killed; its exit code, -1 if none.
    int waitForExit(int timeLimitMs);
    QByteArray output();
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
};

// What the process's descriptors name, folders left out (an unnamed
// temporary file shows as "<folder>/#<inode> (deleted)").
QStringList openFiles(qint64 pid);
// Whether any descriptor of the process names a file under `directory`
// (an unnamed temporary file there included).
bool holdsFileUnder(qint64 pid, const QString& directory);
// A descendant of the process running the program named `name`; 0 if none.
qint64 descendantNamed(qint64 pid, const QByteArray& name);
bool hasDescendantNamed(qint64 pid, const QByteArray& name);
// Whether a process of this id still exists (and is not a zombie).
bool isAlive(qint64 pid);
// Kills the first velk-pdf-worker started under process `parent` once it
// has written something (its reply, or its output file), checking `isDone`
// (the task that runs it has ended) while waiting for it to appear. Once
// found, the worker runs only in short slices, stopped between them, so the
// kill lands when its writing has begun and cannot yet be over. False when
// the task ended first or the time ran out.
bool killWorkerOnceWriting(qint64 parent, const std::function<bool()>& isDone, int timeLimitMs);

// Entries of `directory` whose names start with one of the prefixes.
QStringList entriesStartingWith(const QString& directory, const QStringList& prefixes);

} // namespace velk::test
