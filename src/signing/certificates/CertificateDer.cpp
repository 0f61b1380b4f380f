#include "signing/certificates/CertificateDer.h"

namespace velk {

X509Ptr CertificateDer::parse(const QByteArray& der)
{
    const auto* start = reinterpret_cast<const unsigned char*>(der.constData());
    const unsigned char* cursor = start;
    X509Ptr certificate(d2i_X509(nullptr, &cursor, long(der.size())));
    if (!certificate || cursor != start + der.size())
        return {};
    return certificate;
}

QByteArray CertificateDer::encode(X509* certificate)
{
    unsigned char* der = nullptr;
    const int length = certificate != nullptr ? i2d_X509(certificate, &der) : -1;
    if (length <= 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    return bytes;
}

void CertificateDer::appendDistinct(QList<QByteArray>& list, const QByteArray& der)
{
    if (!der.isEmpty() && !list.contains(der))
        list.append(der);
}

} // namespace velk
