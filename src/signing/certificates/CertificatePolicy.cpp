#include "signing/certificates/CertificatePolicy.h"

#include <openssl/x509v3.h>

#include <array>
#include <cstring>

namespace velk {

namespace {

// E-mail protection, document signing, Microsoft document signing, Adobe
// authentic documents trust, any extended key usage.
constexpr std::array<const char*, 5> kSigningPurposes = {
    "1.3.6.1.5.5.7.3.4", "1.3.6.1.5.5.7.3.36", "1.3.6.1.4.1.311.10.3.12", "1.2.840.113583.1.1.5", "2.5.29.37.0",
};

// Dotted OID texts here are short; a longer one cannot be in the table.
constexpr int kOidTextBytes = 128;

bool isSigningPurpose(const ASN1_OBJECT* object)
{
    std::array<char, kOidTextBytes> text{};
    const int length = OBJ_obj2txt(text.data(), int(text.size()), object, 1);
    if (length <= 0 || length >= int(text.size()))
        return false;
    for (const char* purpose : kSigningPurposes) {
        if (std::strcmp(text.data(), purpose) == 0)
            return true;
    }
    return false;
}

} // namespace

bool CertificatePolicy::checkSigningPurpose(X509* certificate)
{
    if (certificate == nullptr || X509_check_ca(certificate) != 0)
        return false;
    const uint32_t usage = X509_get_key_usage(certificate);
    if (usage == UINT32_MAX || (usage & (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION)) == 0)
        return false;
    const int extensions = X509_get_ext_count(certificate);
    int ekuCount = 0;
    int ekuIndex = -1;
    for (int i = 0; i < extensions; ++i) {
        if (OBJ_obj2nid(X509_EXTENSION_get_object(X509_get_ext(certificate, i))) == NID_ext_key_usage) {
            ++ekuCount;
            ekuIndex = i;
        }
    }
    if (ekuCount == 0)
        return true;
    if (ekuCount > 1)
        return false;
    auto* usages = static_cast<EXTENDED_KEY_USAGE*>(X509V3_EXT_d2i(X509_get_ext(certificate, ekuIndex)));
    if (usages == nullptr)
        return false;
    bool found = false;
    for (int i = 0; i < sk_ASN1_OBJECT_num(usages) && !found; ++i)
        found = isSigningPurpose(sk_ASN1_OBJECT_value(usages, i));
    EXTENDED_KEY_USAGE_free(usages);
    return found;
}

} // namespace velk
