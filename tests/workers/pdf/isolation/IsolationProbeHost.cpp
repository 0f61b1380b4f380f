// Test helper: a process that locks itself down the way the PDF worker
// does and then reports its isolation probes as one JSON object on
// standard output. Its standard input names the mode, as a request reaches
// a worker: "each" runs every probe on its own (no short-circuit), so that
// tests see each probe act with its restriction missing; "passes" runs the
// self-check as the worker does.

#include "isolation/IsolationProbes.h"
#include "isolation/IsolationSelfCheck.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// True when a child of this process still exists (running or unreaped).
bool childrenLeft()
{
    int status = 0;
    const pid_t pid = waitpid(-1, &status, WNOHANG | __WALL);
    return !(pid < 0 && errno == ECHILD);
}

QJsonObject eachProbe()
{
    QJsonObject probes;
    for (const velk::IsolationProbe& probe : velk::IsolationProbes::all())
        probes.insert(QString::fromLatin1(probe.name), probe.holds());
    return probes;
}

// The mode sent on standard input, bounded.
QByteArray modeFromInput()
{
    QByteArray mode;
    char buffer[16];
    ssize_t got = 0;
    while (mode.size() < 64 && (got = read(0, buffer, sizeof buffer)) > 0)
        mode.append(buffer, qsizetype(got));
    return mode.trimmed();
}

} // namespace

int main()
{
    velk::IsolationSelfCheck::lockDownProcess();
    QJsonObject report;
    const bool each = modeFromInput() == "each";
    if (each)
        report.insert("probes", eachProbe());
    else
        report.insert("passes", velk::IsolationSelfCheck::passes());
    report.insert("childrenLeft", childrenLeft());
    const QByteArray text = QJsonDocument(report).toJson(QJsonDocument::Compact);
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()))
        return 1;
    return std::fflush(stdout) == 0 ? 0 : 1;
}
