#pragma once

// The editing tests' way to the real worker inside the real sandbox, and
// the request and directory chores every editing test repeats.

#include "support/PdfFixtures.h"
#include "support/SandboxedRun.h"
#include "support/TestDirectories.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace velk::test {

inline constexpr int kEditTimeLimitMs = 30000;

inline WorkerReply runEditSandboxed(const QJsonObject& request)
{
    return runSandboxed(request, kEditTimeLimitMs);
}

// {"operation", "path", "output"} plus fields; an empty output is left out.
QJsonObject editRequest(const QString& operation, const QString& path, const QString& output,
                        const QJsonObject& fields = {});

// A fixture of exactly these pages and nothing else.
PdfFixtureSpec fixtureOf(const QList<PdfPageSpec>& pages);

} // namespace velk::test
