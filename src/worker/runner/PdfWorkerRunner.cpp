#include "PdfWorkerRunner.h"

#include "ReplyInterpretation.h"
#include "RunnerLimits.h"
#include "RunnerMessages.h"
#include "Sandbox.h"
#include "WorkerAccess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>

#include <openssl/crypto.h>

namespace velk {

namespace {

const QString kWorkerName = QStringLiteral("velk-pdf-worker");

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// The request may carry a document password.
void wipe(QByteArray& bytes)
{
    if (!bytes.isEmpty())
        OPENSSL_cleanse(bytes.data(), size_t(bytes.size()));
}

} // namespace

WorkerReply runPdfWorker(const QJsonObject& request, const CancelFlag& cancel, int timeLimitMs)
{
    return runPdfWorker(request, cancel, timeLimitMs, QCoreApplication::applicationDirPath());
}

WorkerReply runPdfWorker(const QJsonObject& request, const CancelFlag& cancel, int timeLimitMs,
                         const QString& applicationDirectory)
{
    const QString worker = applicationDirectory + QLatin1Char('/') + kWorkerName;
    if (!isExecutableFile(worker))
        return WorkerReply{QJsonObject(), RunnerMessages::workerMissing()};

    QByteArray bytes = QJsonDocument(request).toJson(QJsonDocument::Compact);
    if (bytes.size() > RunnerLimits::kMaxRequestBytes) {
        wipe(bytes);
        return WorkerReply{QJsonObject(), RunnerMessages::requestTooLarge()};
    }

    const QStringList readList = WorkerAccess::readList(request);
    const QString writeDirectory = WorkerAccess::writeDirectory(request);
    // The sandbox gets a shared copy; writing into it detaches, so wiping
    // here afterwards reaches the runner's own buffer.
    const SandboxResult result = runSandboxedProcess(worker, applicationDirectory, readList, writeDirectory, bytes,
                                                     cancelCheckFor(cancel), timeLimitMs);
    wipe(bytes);
    return ReplyInterpretation::interpret(result);
}

} // namespace velk
