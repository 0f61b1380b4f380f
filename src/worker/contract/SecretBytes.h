#pragma once

// A byte buffer for secrets (PINs, document passwords, sealed records): its
// bytes are overwritten with zeros when it goes, and it cannot be copied by
// accident. Shared between the GUI thread and a pool task through
// SecretBytesPtr; whoever releases the last reference wipes it. Readers get
// a const view; a caller that must hand the bytes to an API taking a
// QByteArray makes a copy and wipes that copy itself (secureWipe).

#include <QByteArray>
#include <QString>

#include <memory>

namespace velk {

class SecretBytes {
public:
    SecretBytes() = default;
    // Takes the bytes and wipes the source buffer it was given.
    explicit SecretBytes(QByteArray&& bytes);
    // UTF-8 of the text; the caller wipes its own text afterwards.
    static SecretBytes fromText(const QString& text);
    ~SecretBytes();

    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;

    const QByteArray& bytes() const { return m_bytes; }
    const char* data() const { return m_bytes.constData(); }
    qsizetype size() const { return m_bytes.size(); }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    // A text copy for APIs that need one (the caller wipes it).
    QString toText() const { return QString::fromUtf8(m_bytes); }

    void clear();

private:
    QByteArray m_bytes;
};

using SecretBytesPtr = std::shared_ptr<SecretBytes>;

inline SecretBytesPtr makeSecretBytes(QByteArray&& bytes)
{
    return std::make_shared<SecretBytes>(std::move(bytes));
}

} // namespace velk
