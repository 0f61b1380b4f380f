#pragma once

// Hand-encoded qualified-certificate statements for test certificates: the
// DER of single statements and of the extension value that TestPki writes
// as "1.3.6.1.5.5.7.1.3=DER:<hex>".

#include "worker/contract/OpenSslHandles.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <openssl/objects.h>

namespace velk::test::qc {

inline const char* const kLawText =
    "Bu sertifika, 5070 sayılı Elektronik İmza Kanununa göre nitelikli elektronik sertifikadır.";
inline const QString kCompliance = QStringLiteral("0.4.0.1862.1.1");
inline const QString kTurkish = QStringLiteral("2.16.792.1.61.0.1.5070.1.1");
inline const QString kQcType = QStringLiteral("0.4.0.1862.1.6");
inline const QString kPublicSector = QStringLiteral("2.16.792.1.2.1.1.5.7.1.1");

inline QByteArray tlv(char tag, const QByteArray& content)
{
    QByteArray length;
    if (content.size() < 0x80) {
        length.append(char(content.size()));
    } else {
        for (qsizetype n = content.size(); n > 0; n >>= 8)
            length.prepend(char(n & 0xFF));
        length.prepend(char(0x80 | length.size()));
    }
    return tag + length + content;
}

inline QByteArray oid(const QString& dotted)
{
    velk::OpenSslHandle<ASN1_OBJECT, ASN1_OBJECT_free> object(OBJ_txt2obj(dotted.toLatin1().constData(), 1));
    unsigned char* der = nullptr;
    const int length = object ? i2d_ASN1_OBJECT(object.get(), &der) : -1;
    QByteArray bytes = length > 0 ? QByteArray(reinterpret_cast<const char*>(der), length) : QByteArray();
    OPENSSL_free(der);
    return bytes;
}

inline QByteArray statement(const QString& id, const QByteArray& parameter = {})
{
    return tlv(0x30, oid(id) + parameter);
}

inline QByteArray utf8(const QString& text)
{
    return tlv(0x0C, text.toUtf8());
}

inline QByteArray qcType(const QString& type)
{
    return statement(kQcType, tlv(0x30, oid(type)));
}

inline QList<QByteArray> baseStatements(const QString& text = QString::fromUtf8(kLawText))
{
    return {statement(kCompliance), statement(kTurkish, utf8(text)), qcType(QStringLiteral("0.4.0.1862.1.6.1"))};
}

// The extension line for TestPki.
inline QString extensionLine(const QList<QByteArray>& statements)
{
    return QStringLiteral("1.3.6.1.5.5.7.1.3=DER:") + QString::fromLatin1(tlv(0x30, statements.join()).toHex());
}

} // namespace velk::test::qc
