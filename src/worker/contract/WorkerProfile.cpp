#include "worker/contract/WorkerProfile.h"

namespace velk::WorkerProfiles {

const WorkerProfile& pdfWorker()
{
    static const WorkerProfile profile{
        "velk-pdf-worker", RequestReading::Chunked, 262144,
        QStringLiteral("PDF işlem isteği geçersiz."), true,
        InputWiping::ZeroFill, false, 0, 1, 2, true, false};
    return profile;
}

const WorkerProfile& tokenWorker()
{
    static const WorkerProfile profile{
        "velk-token-worker", RequestReading::SingleReadWithPin, 262144,
        QStringLiteral("Token isteği geçersiz."), false,
        InputWiping::SecureCleanse, false, 0, 1, 2, false, false};
    return profile;
}

const WorkerProfile& secureStore()
{
    static const WorkerProfile profile{
        "velk-secure-store", RequestReading::SingleRead, 32768,
        QStringLiteral("Güvenli depo isteği geçersiz."), false,
        InputWiping::SecureCleanse, true, 0, 1, 2, false, true};
    return profile;
}

const WorkerProfile& officeWorker()
{
    // The office worker only ever refuses, so every status is 42.
    static const WorkerProfile profile{
        "velk-office-worker", RequestReading::SingleRead, 8192,
        QStringLiteral("Word dönüşüm isteği geçersiz."), false,
        InputWiping::None, false, 42, 42, 42, false, false};
    return profile;
}

} // namespace velk::WorkerProfiles
