#pragma once

// What the preparation and evidence tests share: the requests of
// "prepareSignature" and "appendDss" through the real worker in the real
// sandbox, and the independent programs that judge the results.

#include "support/SandboxedRun.h"
#include "support/SignedPdfFixtures.h"
#include "worker/contract/operations/SignaturePreparationContract.h"

#include <QJsonArray>
#include <QProcess>

namespace velk::test {

inline constexpr int kToolTimeLimitMs = 30000;

// Runs a program; its exit status 0 within the time limit is true.
inline bool runProgram(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

inline QJsonObject prepareRequest(const QString& path, const QString& output, bool visible = true,
                                  const QString& signer = QStringLiteral("Ayşe Yılmaz"))
{
    return PrepareSignatureRequest{path, output, 0, visible, false, QStringLiteral("Onay"), signer}.toJson();
}

inline QJsonObject prepare(const QJsonObject& request)
{
    return withoutIsolation(runSandboxed(request).json);
}

inline QJsonObject okReply()
{
    return QJsonObject{{"ok", true}};
}

inline QJsonObject failure(const QString& message)
{
    return QJsonObject{{"ok", false}, {"error", message}};
}

inline int occurrences(const QByteArray& haystack, const QByteArray& needle)
{
    int count = 0;
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1))
        ++count;
    return count;
}

} // namespace velk::test
