#pragma once

// Runs a built worker program plainly (no sandbox) with the given standard
// input, the way a client would, and hands back what it answered.

#include <QByteArray>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QString>

namespace velk::test {

struct WorkerRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
    QJsonObject reply() const;
};

struct WorkerRunOptions {
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Starts the program with its standard output closed.
    bool closeStandardOutput = false;
    int timeoutMs = 30000;
};

WorkerRun runWorker(const QString& program, const QByteArray& input, const WorkerRunOptions& options = {});

} // namespace velk::test
