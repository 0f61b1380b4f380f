#include "worker/contract/WorkerContract.h"

#include "worker/contract/SecureWipe.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonParseError>

#include <fcntl.h>
#include <unistd.h>

namespace velk {

namespace {

QByteArray readChunked(qsizetype limit, std::FILE* in)
{
    QByteArray bytes;
    char chunk[WorkerProfiles::kChunkBytes];
    while (bytes.size() <= limit) {
        const size_t want = size_t(std::min<qsizetype>(WorkerProfiles::kChunkBytes, limit + 1 - bytes.size()));
        const size_t got = std::fread(chunk, 1, want, in);
        if (got == 0)
            break;
        bytes.append(chunk, qsizetype(got));
    }
    secureWipe(chunk, sizeof chunk);
    return bytes;
}

QByteArray readOnce(qsizetype limit, std::FILE* in)
{
    QByteArray bytes(limit + 1, Qt::Uninitialized);
    const size_t got = std::fread(bytes.data(), 1, size_t(bytes.size()), in);
    bytes.truncate(qsizetype(got));
    return bytes;
}

bool isValidPin(const QByteArray& pin)
{
    return pin.size() <= WorkerProfiles::kMaxPinBytes && !pin.contains('\0');
}

bool isWritableStream(std::FILE* out)
{
    if (!out)
        return false;
    // A memory stream has no descriptor and is always writable.
    const int fd = fileno(out);
    if (fd < 0)
        return true;
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    const int mode = flags & O_ACCMODE;
    return mode == O_WRONLY || mode == O_RDWR;
}

} // namespace

void WorkerContract::guardStandardStreams()
{
    if (fcntl(STDIN_FILENO, F_GETFD) < 0)
        (void)::open("/dev/null", O_WRONLY); // takes the lowest free number: 0
    if (fcntl(STDOUT_FILENO, F_GETFD) < 0)
        (void)::open("/dev/null", O_RDONLY); // takes 1; stays unwritable
}

void WorkerContract::prepareProcess(const WorkerProfile& profile)
{
    if (profile.limitsOpenMpThreads)
        qputenv("OMP_THREAD_LIMIT", "1");
    if (profile.setsApplicationIdentity) {
        QCoreApplication::setOrganizationName(QString::fromLatin1(kOrganizationName));
        QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    }
}

QByteArray WorkerContract::readRequest(const WorkerProfile& profile, std::FILE* in)
{
    if (profile.reading == RequestReading::Chunked)
        return readChunked(profile.maxRequestBytes, in);
    return readOnce(profile.maxRequestBytes, in);
}

ParsedRequest WorkerContract::parseRequest(const WorkerProfile& profile, QByteArray& input)
{
    ParsedRequest request;
    QByteArray json;
    bool framingOk = input.size() <= profile.maxRequestBytes;

    if (framingOk && profile.reading == RequestReading::SingleReadWithPin) {
        const qsizetype lineFeed = input.indexOf('\n');
        framingOk = lineFeed >= 0;
        if (framingOk) {
            json = QByteArray::fromRawData(input.constData(), lineFeed);
            request.pin = input.mid(lineFeed + 1);
            framingOk = isValidPin(request.pin);
        }
    } else if (framingOk) {
        json = QByteArray::fromRawData(input.constData(), input.size());
    }

    if (framingOk) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        if (error.error == QJsonParseError::NoError && document.isObject()) {
            request.object = document.object();
            request.valid = true;
        }
    }
    // The token worker's JSON must never carry the PIN itself.
    if (request.valid && profile.reading == RequestReading::SingleReadWithPin
        && request.object.contains(QStringLiteral("pin")))
        request.valid = false;

    // json only views the input's bytes, so wiping the input covers it.
    json = QByteArray();
    if (profile.inputWiping != InputWiping::None)
        secureWipe(input);
    if (!request.valid) {
        secureWipe(request.pin);
        request.pin.clear();
        request.object = {};
    }
    return request;
}

QJsonObject WorkerContract::errorReply(const QString& message)
{
    return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}};
}

QJsonObject WorkerContract::invalidRequestReply(const WorkerProfile& profile)
{
    QJsonObject reply = errorReply(profile.invalidRequestError);
    if (profile.invalidReplyHasCode)
        reply.insert(QStringLiteral("code"), 0);
    return reply;
}

bool WorkerContract::isOk(const QJsonObject& reply)
{
    const QJsonValue ok = reply.value(QStringLiteral("ok"));
    return ok.isBool() && ok.toBool();
}

QByteArray WorkerContract::encodeReply(const QJsonObject& reply)
{
    // QJsonObject keeps its keys sorted, so compact output already ascends.
    return QJsonDocument(reply).toJson(QJsonDocument::Compact);
}

int WorkerContract::writeReply(const WorkerProfile& profile, std::FILE* out, const QJsonObject& reply)
{
    if (!isWritableStream(out))
        return profile.exitNoOutput;
    QByteArray bytes = encodeReply(reply);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    std::fflush(out);
    if (profile.wipesReplyBytes)
        secureWipe(bytes);
    return isOk(reply) ? profile.exitOk : profile.exitFailed;
}

int WorkerContract::serve(const WorkerProfile& profile, const Handler& handler, std::FILE* in, std::FILE* out)
{
    QByteArray input = readRequest(profile, in);
    ParsedRequest request = parseRequest(profile, input);
    const QJsonObject reply = handler(request);
    secureWipe(request.pin);
    return writeReply(profile, out, reply);
}

} // namespace velk
