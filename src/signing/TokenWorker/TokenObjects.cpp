#include "signing/TokenWorker/TokenObjects.h"

#include "signing/TokenWorker/TokenWorkerLimits.h"

namespace velk {

QByteArray TokenObjects::readTokenAttribute(CK_FUNCTION_LIST* functions, CK_SESSION_HANDLE session,
                                            CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type)
{
    CK_ATTRIBUTE probe{type, nullptr, 0};
    // The "unavailable" length (all ones) is above the limit too.
    if (functions->C_GetAttributeValue(session, object, &probe, 1) != CKR_OK
        || probe.ulValueLen > TokenWorkerLimits::kMaxAttributeBytes)
        return {};
    const CK_ULONG allocated = probe.ulValueLen;
    QByteArray value(qsizetype(allocated), '\0');
    CK_ATTRIBUTE read{type, value.data(), allocated};
    if (functions->C_GetAttributeValue(session, object, &read, 1) != CKR_OK || read.ulValueLen > allocated)
        return {};
    value.truncate(qsizetype(read.ulValueLen));
    return value;
}

std::vector<CK_OBJECT_HANDLE> TokenObjects::findTokenObjects(CK_FUNCTION_LIST* functions, CK_SESSION_HANDLE session,
                                                             CK_OBJECT_CLASS objectClass, const QByteArray& id)
{
    // The class is a CK_ULONG, 8 bytes here: a 4-byte value matches nothing.
    CK_ATTRIBUTE search[2] = {
        {CKA_CLASS, &objectClass, sizeof(objectClass)},
        {CKA_ID, const_cast<char*>(id.constData()), CK_ULONG(id.size())},
    };
    const CK_ULONG terms = id.isEmpty() ? 1 : 2;
    if (functions->C_FindObjectsInit(session, search, terms) != CKR_OK)
        return {};
    std::vector<CK_OBJECT_HANDLE> handles;
    for (int call = 0; call < TokenWorkerLimits::kMaxFoundHandles; ++call) {
        CK_OBJECT_HANDLE handle = 0;
        CK_ULONG found = 0;
        if (functions->C_FindObjects(session, &handle, 1, &found) != CKR_OK || found == 0)
            break;
        handles.push_back(handle);
    }
    if (functions->C_FindObjectsFinal(session) != CKR_OK)
        return {};
    return handles;
}

} // namespace velk
