#pragma once

// The editing tests' way to the real worker inside the real sandbox, and
// the request and directory chores every editing test repeats.

#include "support/PdfFixtures.h"
#include "worker/runner/PdfWorkerRunner.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace velk::test {

inline constexpr int kEditTimeLimitMs = 30000;

// runPdfWorker against the build's application directory, as velk-pdf
// starts the worker.
WorkerReply runEditSandboxed(const QJsonObject& request);

// {"operation", "path", "output"} plus fields; an empty output is left out.
QJsonObject editRequest(const QString& operation, const QString& path, const QString& output,
                        const QJsonObject& fields = {});

// {"ok": false, "error": message}: the shape of every handler's refusal.
QJsonObject refusal(const QString& message);

// The reply without its "isolation" object, for comparing whole replies.
QJsonObject withoutIsolation(QJsonObject reply);

// A fixture of exactly these pages and nothing else.
PdfFixtureSpec fixtureOf(const QList<PdfPageSpec>& pages);

// A not yet existing file named fileName inside a fresh directory
// "out<N>" below root (N counts up in counter): each output directory, the
// only one the worker may write, starts empty.
QString freshOutputIn(const QString& root, int& counter, const QString& fileName);

// Names of every entry in directory, hidden ones included.
QStringList entriesIn(const QString& directory);

} // namespace velk::test
