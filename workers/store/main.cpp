// velk-secure-store: protected per-user records. The framing is complete;
// the record operations arrive with the store itself, and until then every
// valid request is refused.

#include "WorkerContract.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    velk::WorkerContract::guardStandardStreams();
    QCoreApplication application(argc, argv);
    const velk::WorkerProfile& profile = velk::WorkerProfiles::secureStore();
    velk::WorkerContract::prepareProcess(profile);
    return velk::WorkerContract::serve(profile, [&](velk::ParsedRequest& request) {
        if (!request.valid)
            return velk::WorkerContract::invalidRequestReply(profile);
        return velk::WorkerContract::errorReply(
            QStringLiteral("Güvenli depo bu derlemede henüz kullanılamıyor."));
    });
}
