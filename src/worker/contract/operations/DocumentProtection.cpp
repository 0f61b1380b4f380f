#include "worker/contract/operations/DocumentProtection.h"

#include "worker/contract/JsonFields.h"

namespace velk {

namespace {

const QString kSigned = QStringLiteral("signed");
const QString kEncrypted = QStringLiteral("encrypted");
const QString kHasForm = QStringLiteral("hasForm");

// Absent reads as false; anything but a boolean is refused.
std::optional<bool> flag(const QJsonObject& json, const QString& key)
{
    if (!json.contains(key))
        return false;
    return JsonFields::boolean(json, key);
}

} // namespace

DocumentProtection DocumentProtection::decide(int signedFieldCount, int securityHandlerRevision, int formType)
{
    DocumentProtection protection;
    protection.signedDocument = signedFieldCount != 0;
    protection.encrypted = securityHandlerRevision >= 0;
    protection.hasForm = formType != 0;
    return protection;
}

void DocumentProtection::writeTo(QJsonObject& json) const
{
    json.insert(kSigned, signedDocument);
    json.insert(kEncrypted, encrypted);
    json.insert(kHasForm, hasForm);
}

std::optional<DocumentProtection> DocumentProtection::fromJson(const QJsonObject& json)
{
    const std::optional<bool> signedDocument = flag(json, kSigned);
    const std::optional<bool> encrypted = flag(json, kEncrypted);
    const std::optional<bool> hasForm = flag(json, kHasForm);
    if (!signedDocument || !encrypted || !hasForm)
        return std::nullopt;
    return DocumentProtection{*signedDocument, *encrypted, *hasForm};
}

} // namespace velk
