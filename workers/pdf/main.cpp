#include "WorkerContract.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::pdfWorker();
    velk::WorkerContract::prepareProcess(profile);
    return velk::WorkerContract::serve(profile, [&](velk::ParsedRequest&) {
        return velk::WorkerContract::invalidRequestReply(profile);
    });
}
