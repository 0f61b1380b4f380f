#include "worker/runner/PdfWorkerRunner.h"

#include "worker/runner/ReplyInterpretation.h"
#include "worker/runner/RunnerLimits.h"
#include "worker/runner/RunnerMessages.h"
#include "worker/sandbox/Sandbox.h"
#include "worker/runner/WorkerAccess.h"

#include "worker/contract/SecureWipe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>

namespace velk {

namespace {

const QString kWorkerName = QStringLiteral("velk-pdf-worker");

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// The password as the contents of a JSON string: quote, backslash and
// control characters escaped, every other UTF-8 byte as it is.
void appendJsonString(QByteArray& out, const QByteArray& utf8)
{
    static const char kHex[] = "0123456789abcdef";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out.append('\\').append(c);
        } else if (byte < 0x20) {
            out.append("\\u00").append(kHex[byte >> 4]).append(kHex[byte & 0xf]);
        } else {
            out.append(c);
        }
    }
}

// The compact request with "password" added before its closing brace, in
// a buffer reserved once so that no partial copy is left unwiped.
QByteArray encodeRequest(const QJsonObject& request, const SecretBytesPtr& password)
{
    const QByteArray plain = QJsonDocument(request).toJson(QJsonDocument::Compact);
    if (!password || password->isEmpty() || !plain.endsWith('}'))
        return plain;
    static const QByteArray kKey = QByteArrayLiteral("\"password\":\"");
    QByteArray bytes;
    bytes.reserve(plain.size() + kKey.size() + 6 * password->size() + 3);
    bytes.append(plain.constData(), plain.size() - 1);
    if (!request.isEmpty())
        bytes.append(',');
    bytes.append(kKey);
    appendJsonString(bytes, password->bytes());
    bytes.append("\"}");
    return bytes;
}

} // namespace

WorkerReply runPdfWorker(const QJsonObject& request, const CancelFlag& cancel, int timeLimitMs)
{
    return runPdfWorker(request, cancel, timeLimitMs, QCoreApplication::applicationDirPath());
}

WorkerReply runPdfWorker(const QJsonObject& request, const SecretBytesPtr& password, const CancelFlag& cancel,
                         int timeLimitMs)
{
    return runPdfWorker(request, password, cancel, timeLimitMs, QCoreApplication::applicationDirPath());
}

WorkerReply runPdfWorker(const QJsonObject& request, const CancelFlag& cancel, int timeLimitMs,
                         const QString& applicationDirectory)
{
    return runPdfWorker(request, nullptr, cancel, timeLimitMs, applicationDirectory);
}

WorkerReply runPdfWorker(const QJsonObject& request, const SecretBytesPtr& password, const CancelFlag& cancel,
                         int timeLimitMs, const QString& applicationDirectory)
{
    const QString worker = applicationDirectory + QLatin1Char('/') + kWorkerName;
    if (!isExecutableFile(worker))
        return WorkerReply{QJsonObject(), RunnerMessages::workerMissing()};

    QByteArray bytes = encodeRequest(request, password);
    if (bytes.size() > RunnerLimits::kMaxRequestBytes) {
        secureWipe(bytes);
        return WorkerReply{QJsonObject(), RunnerMessages::requestTooLarge()};
    }

    const QStringList readList = WorkerAccess::readList(request);
    const QString writeDirectory = WorkerAccess::writeDirectory(request);
    // The sandbox gets a shared copy; writing into it detaches, so wiping
    // here afterwards reaches the runner's own buffer.
    const SandboxResult result = runSandboxedProcess(worker, applicationDirectory, readList, writeDirectory, bytes,
                                                     cancelCheckFor(cancel), timeLimitMs);
    secureWipe(bytes);
    return ReplyInterpretation::interpret(result);
}

} // namespace velk
