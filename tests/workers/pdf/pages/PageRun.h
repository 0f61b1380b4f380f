#pragma once

// The page-operation tests' way to the real worker inside the real sandbox,
// and the requests and fixtures they share.

#include "support/PdfFixtures.h"
#include "support/SandboxedRun.h"
#include "support/TestDirectories.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace velk::test {

inline constexpr int kPagesTimeLimitMs = 60000;

inline WorkerReply runPagesSandboxed(const QJsonObject& request)
{
    return runSandboxed(request, kPagesTimeLimitMs);
}

// One source: {"path"} with "pages" when the selection is not null.
QJsonObject pageSource(const QString& path, const QJsonValue& pages = QJsonValue());

QJsonObject pagesRequest(const QString& operation, const QJsonArray& sources, const QString& output,
                         const QJsonValue& rotations = QJsonValue());

// A document whose page i shows the text prefix + (i + 1).
PdfFixtureSpec labelledPages(const QByteArray& prefix, int count);

// prefix + 1 ... prefix + count, or the given numbers.
QStringList labels(const QString& prefix, const QList<int>& numbers);

} // namespace velk::test
