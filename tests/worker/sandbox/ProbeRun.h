#pragma once

// Runs the probe worker inside the real sandbox and looks around afterwards.
// Shared by the sandbox tests and the helper that runs probes from a second
// process.

#include "worker/sandbox/Sandbox.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk::test {

// The probe's own directory: the runtime directory every probe run gets.
QString probeDirectory();
QString probeProgram();

struct ProbeOptions {
    QStringList readList;
    QString writeDirectory;
    int timeLimitMs = 20000;
    CancelCheck cancel;
};

// Sends "command\n" plus padding (so the request can reach a given size).
SandboxResult runProbe(const QByteArray& command, const ProbeOptions& options = {}, qsizetype requestSize = 0);

// True when a process whose name (comm) is exactly this exists.
bool processNamed(const QByteArray& name);

// True when the sandbox lock can be taken (and is released again) at once.
bool sandboxLockIsFree();

} // namespace velk::test
