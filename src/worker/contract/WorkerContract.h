#pragma once

// The worker side of the one way every worker program is fed and answered:
// one JSON request on standard input, one compact JSON reply on standard
// output, and an exit status that repeats the outcome. Each worker's main()
// calls serve() with its profile and its operation handler; nothing of the
// framing is written twice.

#include "worker/contract/WorkerProfile.h"

#include <QByteArray>
#include <QJsonObject>

#include <cstdio>
#include <functional>

namespace velk {

struct ParsedRequest {
    // False when the request broke the profile's limits or was not one JSON
    // object; the handler then answers with the invalid-request reply.
    bool valid = false;
    QJsonObject object;
    // Token worker only: the bytes after the first line feed. serve()
    // cleanses them after the handler returned.
    QByteArray pin;
};

class WorkerContract {
public:
    using Handler = std::function<QJsonObject(ParsedRequest&)>;

    // First statement of every worker's main(): a standard stream that was
    // handed over closed is occupied by the null device in a mode that
    // cannot serve it, so no descriptor opened later (the application
    // object opens some) can take its number and receive the reply.
    static void guardStandardStreams();

    // Process set-up that must happen right after the application object
    // exists and before any input is read.
    static void prepareProcess(const WorkerProfile& profile);

    // Reads the raw request the way the profile says. At most
    // maxRequestBytes + 1 bytes are ever held.
    static QByteArray readRequest(const WorkerProfile& profile, std::FILE* in);

    // Validates and parses; wipes the input buffer (by the profile) before
    // returning, whatever the outcome.
    static ParsedRequest parseRequest(const WorkerProfile& profile, QByteArray& input);

    static QJsonObject errorReply(const QString& message);
    static QJsonObject invalidRequestReply(const WorkerProfile& profile);
    static bool isOk(const QJsonObject& reply);

    // Compact JSON, keys in ascending order, no trailing line feed.
    static QByteArray encodeReply(const QJsonObject& reply);

    // Writes the reply and returns the exit status for it; exitNoOutput
    // without writing anything when the stream is not open for writing.
    static int writeReply(const WorkerProfile& profile, std::FILE* out, const QJsonObject& reply);

    // The whole run: read, parse, handle, write. Returns the exit status.
    static int serve(const WorkerProfile& profile, const Handler& handler,
                     std::FILE* in = stdin, std::FILE* out = stdout);
};

} // namespace velk
