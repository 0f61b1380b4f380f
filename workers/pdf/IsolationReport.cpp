#include "IsolationReport.h"

namespace velk {

QJsonObject isolationReport(bool selfCheckPassed)
{
    return QJsonObject{{QStringLiteral("filesystem"), selfCheckPassed},
                       {QStringLiteral("networkAndExecution"), selfCheckPassed}};
}

QJsonObject withIsolation(QJsonObject reply, bool selfCheckPassed)
{
    reply.insert(QStringLiteral("isolation"), isolationReport(selfCheckPassed));
    return reply;
}

} // namespace velk
