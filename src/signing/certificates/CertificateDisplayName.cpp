#include "signing/certificates/CertificateDisplayName.h"

#include "worker/contract/OpenSslHandles.h"

#include <openssl/objects.h>
#include <openssl/x509.h>

namespace velk {

namespace {

// The UTF-8 text of the subject's first entry with this NID; empty when
// there is none or it converts to no characters.
QString firstEntryText(const X509_NAME* subject, int nid)
{
    const int index = X509_NAME_get_index_by_NID(subject, nid, -1);
    if (index < 0)
        return {};
    const X509_NAME_ENTRY* entry = X509_NAME_get_entry(subject, index);
    const ASN1_STRING* value = entry ? X509_NAME_ENTRY_get_data(entry) : nullptr;
    if (!value)
        return {};
    unsigned char* utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, value);
    QString text;
    if (length > 0)
        text = QString::fromUtf8(reinterpret_cast<const char*>(utf8), length);
    OPENSSL_free(utf8);
    return text;
}

} // namespace

QString certificateDisplayName(const QByteArray& der)
{
    if (der.isEmpty())
        return {};
    const auto* start = reinterpret_cast<const unsigned char*>(der.constData());
    const unsigned char* cursor = start;
    const X509Ptr certificate(d2i_X509(nullptr, &cursor, long(der.size())));
    if (!certificate || cursor != start + der.size())
        return {};
    const X509_NAME* subject = X509_get_subject_name(certificate.get());
    if (!subject)
        return QStringLiteral("İmzacı");
    QString name = firstEntryText(subject, NID_commonName);
    if (name.isEmpty())
        name = firstEntryText(subject, NID_organizationName);
    if (name.isEmpty())
        name = QStringLiteral("İmzacı");
    return name;
}

} // namespace velk
