#pragma once

// The few DER building blocks of our SignedData: a tag-length-value, an
// object identifier (encoded by OpenSSL) and a CMS attribute. Pure; any
// thread.

#include <QByteArray>
#include <QString>

namespace velk {

class DerEncoding {
public:
    // Short-form length below 128, else 0x80 + n and n big-endian bytes.
    static QByteArray derTlv(unsigned char tag, const QByteArray& content);
    // Numeric dotted text only; empty bytes when it does not convert.
    static QByteArray derOid(const QString& dotted);
    // SEQUENCE { OID, SET { value } }.
    static QByteArray derAttribute(const QString& oid, const QByteArray& value);
};

} // namespace velk
