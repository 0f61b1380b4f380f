#include "signing/TokenWorker/TokenSession.h"

#include "signing/TokenWorker/TokenErrorMessage.h"
#include "signing/TokenWorker/TokenWorkerLimits.h"
#include "signing/TokenWorker/TokenWorkerMessages.h"

namespace velk {

TokenSession::~TokenSession()
{
    close();
    if (m_initialized)
        static_cast<void>(m_functions->C_Finalize(nullptr));
}

CK_RV TokenSession::initialize()
{
    const CK_RV rv = m_functions->C_Initialize(nullptr);
    m_initialized = rv == CKR_OK;
    return rv == CKR_CRYPTOKI_ALREADY_INITIALIZED ? CKR_OK : rv;
}

bool TokenSession::presentSlots(std::vector<CK_SLOT_ID>& slots, QString& error)
{
    CK_ULONG count = 0;
    CK_RV rv = m_functions->C_GetSlotList(CK_TRUE, nullptr, &count);
    // An excess count comes with rv 0: the general sentence with 0.
    if (rv != CKR_OK || count > TokenWorkerLimits::kMaxSlots) {
        error = tokenErrorMessage(rv);
        return false;
    }
    if (count == 0) {
        error = QString::fromUtf8(TokenWorkerMessages::kNoToken);
        return false;
    }
    slots.assign(count, 0);
    CK_ULONG returned = count;
    rv = m_functions->C_GetSlotList(CK_TRUE, slots.data(), &returned);
    if (rv != CKR_OK || returned > count) {
        error = tokenErrorMessage(rv);
        return false;
    }
    slots.resize(returned);
    return true;
}

CK_RV TokenSession::open(CK_SLOT_ID slot)
{
    close();
    CK_SESSION_HANDLE session = 0;
    const CK_RV rv = m_functions->C_OpenSession(slot, CKF_SERIAL_SESSION, nullptr, nullptr, &session);
    if (rv == CKR_OK) {
        m_session = session;
        m_isOpen = true;
    }
    return rv;
}

void TokenSession::close()
{
    if (m_loggedIn)
        static_cast<void>(m_functions->C_Logout(m_session));
    m_loggedIn = false;
    if (m_isOpen)
        static_cast<void>(m_functions->C_CloseSession(m_session));
    m_isOpen = false;
    m_session = 0;
}

CK_RV TokenSession::login(CK_USER_TYPE type, const QByteArray& pin, bool protectedPath)
{
    // A PIN pad asks on the device: no PIN crosses the interface.
    auto* bytes = protectedPath ? nullptr : reinterpret_cast<CK_UTF8CHAR*>(const_cast<char*>(pin.constData()));
    const CK_ULONG length = protectedPath ? 0 : CK_ULONG(pin.size());
    return m_functions->C_Login(m_session, type, bytes, length);
}

CK_RV TokenSession::loginUser(const QByteArray& pin, bool protectedPath)
{
    const CK_RV rv = login(CKU_USER, pin, protectedPath);
    if (rv == CKR_OK)
        m_loggedIn = true;
    return rv == CKR_USER_ALREADY_LOGGED_IN ? CKR_OK : rv;
}

CK_RV TokenSession::loginContext(const QByteArray& pin, bool protectedPath)
{
    return login(CKU_CONTEXT_SPECIFIC, pin, protectedPath);
}

} // namespace velk
