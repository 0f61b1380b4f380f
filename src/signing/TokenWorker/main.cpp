// velk-token-worker: one PKCS#11 certificate listing or one signature with
// the driver the user approved, then exit.

#include "signing/TokenWorker/ReplyChannel.h"
#include "signing/TokenWorker/TokenRequestHandler.h"
#include "worker/contract/WorkerContract.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    velk::ReplyChannel::protectProcessMemory();
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::tokenWorker();
    velk::WorkerContract::prepareProcess(profile);
    std::FILE* reply = velk::ReplyChannel::reserveStandardOutput();
    const int status = velk::WorkerContract::serve(
        profile,
        [&](velk::ParsedRequest& request) {
            if (!request.valid)
                return velk::WorkerContract::invalidRequestReply(profile);
            return velk::TokenRequestHandler::handle(request.object, request.pin);
        },
        stdin, reply);
    if (reply)
        std::fclose(reply);
    return status;
}
