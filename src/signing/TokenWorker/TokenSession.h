#pragma once

// The PKCS#11 state of one request: our own initialisation, the open
// session and our own login. Each mark decides one clean-up step, unwound
// in reverse order (logout, close the session, finalise) on every path when
// the object goes. An initialisation or login that the driver reports as
// already in place is not ours and is left as found. Main thread only;
// the driver's TokenModule must outlive this object.

#include <p11-kit/pkcs11.h>

#include <QByteArray>
#include <QString>

#include <vector>

namespace velk {

class TokenSession {
public:
    explicit TokenSession(CK_FUNCTION_LIST* functions) : m_functions(functions) {}
    ~TokenSession();
    TokenSession(const TokenSession&) = delete;
    TokenSession& operator=(const TokenSession&) = delete;

    CK_FUNCTION_LIST* functions() const { return m_functions; }
    CK_SESSION_HANDLE handle() const { return m_session; }

    // C_Initialize(NULL); CKR_CRYPTOKI_ALREADY_INITIALIZED counts as success.
    CK_RV initialize();

    // The slots holding a token, in the driver's order; false with the
    // user's sentence.
    bool presentSlots(std::vector<CK_SLOT_ID>& slots, QString& error);

    CK_RV open(CK_SLOT_ID slot);
    void close();

    // CKU_USER; an existing login is accepted and left in place. A null
    // PIN when the token has its own PIN pad.
    CK_RV loginUser(const QByteArray& pin, bool protectedPath);
    // The second login an always-authenticate key needs after C_SignInit.
    CK_RV loginContext(const QByteArray& pin, bool protectedPath);

private:
    CK_RV login(CK_USER_TYPE type, const QByteArray& pin, bool protectedPath);

    CK_FUNCTION_LIST* m_functions;
    bool m_initialized = false;
    bool m_isOpen = false;
    bool m_loggedIn = false;
    CK_SESSION_HANDLE m_session = 0;
};

} // namespace velk
