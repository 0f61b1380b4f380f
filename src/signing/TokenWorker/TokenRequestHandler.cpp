#include "signing/TokenWorker/TokenRequestHandler.h"

#include "worker/contract/SecureWipe.h"
#include "signing/TokenWorker/TokenErrorMessage.h"
#include "signing/TokenWorker/TokenListing.h"
#include "signing/TokenWorker/TokenModule.h"
#include "signing/TokenWorker/TokenSession.h"
#include "signing/TokenWorker/TokenSigning.h"
#include "signing/TokenWorker/TokenWorkerLimits.h"
#include "worker/contract/WorkerContract.h"
#include "worker/contract/JsonFields.h"

namespace velk {

namespace {

QJsonObject run(const QJsonObject& request, QByteArray& pin)
{
    const QString path = JsonFields::string(request, QStringLiteral("module"), TokenWorkerLimits::kMaxModulePathChars)
                             .value_or(QString());
    const QString hash = JsonFields::string(request, QStringLiteral("moduleHash"), TokenWorkerLimits::kMaxFieldChars)
                             .value_or(QString());
    const bool signing = request.value(QStringLiteral("operation")).toString() == QLatin1String("sign");

    // Declared first so that it goes last: the session's clean-up calls
    // into the library this object holds.
    TokenModule module;
    QString error;
    if (!module.admit(path, hash, error))
        return WorkerContract::errorReply(error);

    TokenSession session(module.functions());
    const CK_RV rv = session.initialize();
    if (rv != CKR_OK)
        return WorkerContract::errorReply(tokenErrorMessage(rv));
    std::vector<CK_SLOT_ID> slots;
    if (!session.presentSlots(slots, error))
        return WorkerContract::errorReply(error);
    if (!signing)
        return TokenListing::list(session, slots);
    return TokenSigning::sign(session, slots, TokenSigning::readRequest(request), pin);
}

} // namespace

QJsonObject TokenRequestHandler::handle(const QJsonObject& request, QByteArray& pin)
{
    QJsonObject reply = run(request, pin);
    secureWipe(pin);
    return reply;
}

} // namespace velk
