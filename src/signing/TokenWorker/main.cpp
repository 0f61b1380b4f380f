// velk-token-worker: PKCS#11 certificate listing and signing. The framing is
// complete; the card operations arrive with the token worker itself, and
// until then every valid request is refused.

#include "WorkerContract.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::tokenWorker();
    velk::WorkerContract::prepareProcess(profile);
    return velk::WorkerContract::serve(profile, [&](velk::ParsedRequest& request) {
        if (!request.valid)
            return velk::WorkerContract::invalidRequestReply(profile);
        return velk::WorkerContract::errorReply(
            QStringLiteral("Akıllı kart işlemleri bu derlemede henüz kullanılamıyor."));
    });
}
