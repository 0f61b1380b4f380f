#pragma once

// The few DER building blocks of our SignedData: a tag-length-value, an
// object identifier (encoded by OpenSSL) and a CMS attribute. Pure; any
// thread.

#include <QByteArray>
#include <QString>

#include <openssl/crypto.h>

namespace velk {

class DerEncoding {
public:
    // Short-form length below 128, else 0x80 + n and n big-endian bytes.
    static QByteArray derTlv(unsigned char tag, const QByteArray& content);
    // Numeric dotted text only; empty bytes when it does not convert.
    static QByteArray derOid(const QString& dotted);
    // SEQUENCE { OID, SET { value } }.
    static QByteArray derAttribute(const QString& oid, const QByteArray& value);

    // An OpenSSL object through its i2d function; empty bytes for a null
    // object or a failed encoding.
    template <typename T, int (*Encode)(const T*, unsigned char**)>
    static QByteArray encode(const T* value)
    {
        unsigned char* der = nullptr;
        const int length = value != nullptr ? Encode(value, &der) : -1;
        if (length <= 0)
            return {};
        QByteArray bytes(reinterpret_cast<const char*>(der), length);
        OPENSSL_free(der);
        return bytes;
    }
};

} // namespace velk
