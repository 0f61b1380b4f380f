// velk-secure-store: keeps one sealed record per account for the current
// user. Started by velk-pdf once per operation; one request in, one reply
// out, and an exit status that repeats the outcome.

#include "store/SecureStore.h"
#include "worker/contract/WorkerContract.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::secureStore();
    // The organisation and application names fix where the records live.
    velk::WorkerContract::prepareProcess(profile);
    return velk::WorkerContract::serve(profile, [&](velk::ParsedRequest& request) {
        if (!request.valid)
            return velk::WorkerContract::invalidRequestReply(profile);
        return velk::SecureStore::handleStoreRequest(request.object);
    });
}
