#include "Sandbox.h"

namespace velk {

SandboxResult runSandboxedProcess(const QString&, const QString&, const QStringList&, const QString&,
                                  QByteArray, const CancelCheck&, int)
{
    SandboxResult result;
    result.error = "Restricted worker could not start";
    return result;
}

} // namespace velk
