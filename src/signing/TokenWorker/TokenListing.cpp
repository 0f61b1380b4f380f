#include "signing/TokenWorker/TokenListing.h"

#include "signing/TokenWorker/TokenErrorMessage.h"
#include "signing/TokenWorker/TokenObjects.h"
#include "signing/TokenWorker/TokenWorkerLimits.h"
#include "worker/contract/WorkerContract.h"
#include "signing/certificates/CertificateDisplayName.h"

#include <QJsonArray>
#include <QStringDecoder>

namespace velk {

namespace {

struct SlotFacts {
    QString slot;
    QString label;
    bool protectedPath = false;
    bool pinWarning = false;
};

void appendCertificates(TokenSession& session, const SlotFacts& facts, QJsonArray& entries)
{
    CK_FUNCTION_LIST* functions = session.functions();
    const auto handles =
        TokenObjects::findTokenObjects(functions, session.handle(), CKO_CERTIFICATE, QByteArray());
    for (const CK_OBJECT_HANDLE handle : handles) {
        const QByteArray value = TokenObjects::readTokenAttribute(functions, session.handle(), handle, CKA_VALUE);
        const QByteArray id = TokenObjects::readTokenAttribute(functions, session.handle(), handle, CKA_ID);
        const QString name = certificateDisplayName(value);
        if (value.isEmpty() || id.isEmpty() || name.isEmpty())
            continue;
        entries.append(QJsonObject{
            {QStringLiteral("slot"), facts.slot},
            {QStringLiteral("id"), QString::fromLatin1(id.toHex())},
            {QStringLiteral("certificate"), QString::fromLatin1(value.toBase64())},
            {QStringLiteral("subject"), name},
            {QStringLiteral("token"), facts.label},
            {QStringLiteral("protectedPath"), facts.protectedPath},
            {QStringLiteral("pinWarning"), facts.pinWarning},
        });
        if (entries.size() >= TokenWorkerLimits::kMaxListedCertificates)
            break;
    }
}

} // namespace

QString TokenListing::tokenLabel(const CK_TOKEN_INFO& info)
{
    const QByteArray bytes(reinterpret_cast<const char*>(info.label), qsizetype(sizeof info.label));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text.trimmed();
}

QJsonObject TokenListing::list(TokenSession& session, const std::vector<CK_SLOT_ID>& slots)
{
    QJsonArray entries;
    bool anyRead = false;
    CK_RV firstFailure = CKR_OK;
    for (const CK_SLOT_ID slot : slots) {
        CK_TOKEN_INFO info{};
        CK_RV rv = session.functions()->C_GetTokenInfo(slot, &info);
        if (rv == CKR_OK)
            rv = session.open(slot);
        if (rv != CKR_OK) {
            if (firstFailure == CKR_OK)
                firstFailure = rv;
            continue;
        }
        anyRead = true;
        const SlotFacts facts{QString::number(slot), tokenLabel(info),
                              (info.flags & CKF_PROTECTED_AUTHENTICATION_PATH) != 0,
                              (info.flags & TokenWorkerLimits::kPinWarningFlags) != 0};
        appendCertificates(session, facts, entries);
        session.close();
    }
    if (!anyRead && firstFailure != CKR_OK)
        return WorkerContract::errorReply(tokenErrorMessage(firstFailure));
    return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("certificates"), entries}};
}

} // namespace velk
