#include "worker/contract/SecretBytes.h"

#include "worker/contract/SecureWipe.h"

#include <utility>

namespace velk {

SecretBytes::SecretBytes(QByteArray&& bytes)
{
    // A deep copy owned by this object alone, so wiping it can never detach
    // into a buffer another QByteArray still shares.
    m_bytes = QByteArray(bytes.constData(), bytes.size());
    if (!bytes.isDetached())
        bytes = QByteArray();
    else
        secureWipe(bytes);
    bytes.clear();
}

SecretBytes SecretBytes::fromText(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    return SecretBytes(std::move(utf8));
}

SecretBytes::~SecretBytes()
{
    clear();
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept : m_bytes(std::exchange(other.m_bytes, QByteArray()))
{
}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept
{
    if (this != &other) {
        clear();
        m_bytes = std::exchange(other.m_bytes, QByteArray());
    }
    return *this;
}

void SecretBytes::clear()
{
    secureWipe(m_bytes);
    m_bytes.clear();
}

} // namespace velk
