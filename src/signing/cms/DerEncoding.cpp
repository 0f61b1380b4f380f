#include "signing/cms/DerEncoding.h"

#include "worker/contract/OpenSslHandles.h"

#include <openssl/objects.h>

namespace velk {

namespace {

using Asn1ObjectPtr = OpenSslHandle<ASN1_OBJECT, ASN1_OBJECT_free>;

constexpr unsigned char kSequence = 0x30;
constexpr unsigned char kSet = 0x31;
constexpr qsizetype kShortFormLimit = 0x80;

} // namespace

QByteArray DerEncoding::derTlv(unsigned char tag, const QByteArray& content)
{
    QByteArray length;
    const qsizetype size = content.size();
    if (size < kShortFormLimit) {
        length.append(char(size));
    } else {
        for (quint64 rest = quint64(size); rest != 0; rest >>= 8)
            length.prepend(char(rest & 0xFF));
        length.prepend(char(0x80 | length.size()));
    }
    QByteArray encoded;
    encoded.reserve(1 + length.size() + size);
    encoded.append(char(tag));
    encoded.append(length);
    encoded.append(content);
    return encoded;
}

QByteArray DerEncoding::derOid(const QString& dotted)
{
    const QByteArray text = dotted.toLatin1();
    const Asn1ObjectPtr object(OBJ_txt2obj(text.constData(), 1));
    return encode<ASN1_OBJECT, i2d_ASN1_OBJECT>(object.get());
}

QByteArray DerEncoding::derAttribute(const QString& oid, const QByteArray& value)
{
    return derTlv(kSequence, derOid(oid) + derTlv(kSet, value));
}

} // namespace velk
