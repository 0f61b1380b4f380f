#include "worker/contract/SecureWipe.h"

#include <openssl/crypto.h>

namespace velk {

void secureWipe(void* data, std::size_t size)
{
    if (data != nullptr && size > 0)
        OPENSSL_cleanse(data, size);
}

void secureWipe(QByteArray& bytes)
{
    if (!bytes.isEmpty())
        secureWipe(bytes.data(), std::size_t(bytes.size()));
}

void secureWipe(QString& text)
{
    if (!text.isEmpty())
        secureWipe(text.data(), std::size_t(text.size()) * sizeof(QChar));
}

} // namespace velk
