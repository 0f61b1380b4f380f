#pragma once

// Bounded reads of a token's objects: one attribute value, and the handles
// of one object search. A driver's counts and lengths are never trusted
// beyond the worker's limits.

#include <p11-kit/pkcs11.h>

#include <QByteArray>

#include <vector>

namespace velk {

class TokenObjects {
public:
    // The attribute's bytes; empty on any failure or above 64 KiB.
    static QByteArray readTokenAttribute(CK_FUNCTION_LIST* functions, CK_SESSION_HANDLE session,
                                         CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type);

    // At most 128 handles of the class (and the id, when given); empty when
    // the search cannot be completed.
    static std::vector<CK_OBJECT_HANDLE> findTokenObjects(CK_FUNCTION_LIST* functions, CK_SESSION_HANDLE session,
                                                          CK_OBJECT_CLASS objectClass, const QByteArray& id);
};

} // namespace velk
