// velk-office-worker: validates one conversion request and answers that no
// converter is available in this build. Exit status 42 for every reply.

#include "office/OfficeConversionRequest.h"
#include "worker/contract/WorkerContract.h"

#include <QCoreApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::officeWorker();
    velk::WorkerContract::prepareProcess(profile);
    const int status = velk::WorkerContract::serve(profile, [&](velk::ParsedRequest& request) {
        if (!request.valid)
            return velk::WorkerContract::invalidRequestReply(profile);
        return velk::OfficeConversionRequest::answer(request.object);
    });
    // Ends at once: no clean-up runs after the reply.
    std::_Exit(status);
}
