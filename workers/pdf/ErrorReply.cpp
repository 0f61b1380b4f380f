#include "ErrorReply.h"

#include "worker/contract/WorkerContract.h"

namespace velk {

QJsonObject errorReply(const QString& message)
{
    return WorkerContract::errorReply(message);
}

QJsonObject errorReply(const QString& message, int code)
{
    QJsonObject reply = WorkerContract::errorReply(message);
    reply.insert(QStringLiteral("code"), code);
    return reply;
}

} // namespace velk
