#pragma once

// The PKCS#11 driver the user approved, admitted only as a local absolute
// regular file whose SHA-256 equals the approved hash, and loaded from the
// very descriptor that was hashed: a file renamed over the path after the
// hash is not what gets loaded. Owns the descriptor and the library; the
// library is released before the descriptor closes. Main thread only.

#include "worker/sandbox/UniqueFd.h"

#include <p11-kit/pkcs11.h>

#include <QString>

namespace velk {

class TokenModule {
public:
    TokenModule() = default;
    ~TokenModule();
    TokenModule(const TokenModule&) = delete;
    TokenModule& operator=(const TokenModule&) = delete;

    // Admits, loads and binds the driver; false with the user's sentence.
    bool admit(const QString& path, const QString& approvedHash, QString& error);

    CK_FUNCTION_LIST* functions() const { return m_functions; }

private:
    bool openChecked(const QString& path, QString& error);
    bool bindFunctionList(QString& error);

    UniqueFd m_file;
    void* m_library = nullptr;
    CK_FUNCTION_LIST* m_functions = nullptr;
};

} // namespace velk
