// velk-pdf-worker: answers one PDF request, and only after proving to itself
// that it runs inside the sandbox. Exit status 0 when the reply is "ok",
// 1 otherwise, 2 when standard output cannot be written.

#include "ErrorReply.h"
#include "IsolationReport.h"
#include "isolation/IsolationSelfCheck.h"
#include "RequestDispatcher.h"
#include "worker/contract/WorkerContract.h"

#include <QCoreApplication>

#include <cstdlib>
#include <exception>

namespace {

QJsonObject answer(const velk::ParsedRequest& request, const velk::WorkerProfile& profile)
{
    // Runs for every request, valid or not: every reply reports it.
    const bool isolated = velk::IsolationSelfCheck::passes();
    QJsonObject reply;
    if (!request.valid) {
        reply = velk::WorkerContract::invalidRequestReply(profile);
    } else if (!isolated) {
        reply = velk::errorReply(QStringLiteral("PDF işleyicisinin zorunlu güvenlik yalıtımı kullanılamıyor."), 0);
    } else {
        try {
            reply = velk::dispatchRequest(request.object);
        } catch (...) {
            // Nothing may escape as a crash with an empty reply.
            reply = velk::errorReply(QStringLiteral("PDF işlemi tamamlanamadı."), 0);
        }
    }
    return velk::withIsolation(reply, isolated);
}

} // namespace

int main(int argc, char** argv)
{
    velk::IsolationSelfCheck::lockDownProcess();
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::pdfWorker();
    // Before any engine library is loaded: OpenMP users stay on one thread.
    velk::WorkerContract::prepareProcess(profile);
    const int status = velk::WorkerContract::serve(
        profile, [&](velk::ParsedRequest& request) { return answer(request, profile); });
    // PDFium is never torn down: the process ends right after the reply.
    std::_Exit(status);
}
