#include "signing/certificates/CertificatePolicy.h"

#include "signing/certificates/CertificateDer.h"
#include "signing/certificates/QcStatements.h"

#include <QCryptographicHash>
#include <QStringList>

#include <openssl/x509v3.h>

#include <array>
#include <cstring>
#include <string_view>

namespace velk {

namespace {

// E-mail protection, document signing, Microsoft document signing, Adobe
// authentic documents trust, any extended key usage.
constexpr std::array<const char*, 5> kSigningPurposes = {
    "1.3.6.1.5.5.7.3.4", "1.3.6.1.5.5.7.3.36", "1.3.6.1.4.1.311.10.3.12", "1.2.840.113583.1.1.5", "2.5.29.37.0",
};

// Dotted OID texts here are short; a longer one cannot be in the table.
constexpr int kOidTextBytes = 128;

// SHA-256 fingerprints (hex) of the certificate authorities authorised to
// issue qualified certificates. None ship: the best outcome without them is
// the declared profile.
constexpr std::array<std::string_view, 0> kAuthorisedProviders = {};

// Policies that exclude the qualified profile, and the public-sector one.
constexpr const char* kAnyPolicy = "2.5.29.32.0";
constexpr std::array<const char*, 2> kExcludingPolicies = {"2.16.792.1.2.1.1.5.7.1.4", "2.16.792.1.2.1.1.5.7.1.5"};
constexpr const char* kPublicSectorPolicy = "2.16.792.1.2.1.1.5.7.1.1";

const char* const kNotQualified = "Nitelikli değil: Türkiye NES profili doğrulanmadı.";
const char* const kQualifiedLead = "Nitelikli Elektronik Sertifika doğrulandı (BTK yetkili ESHS zinciri ve profil). ";
const char* const kDeclaredLead = "Sertifika nitelikli profil beyanı taşıyor (kök doğrulaması yapılmadı). ";
const char* const kUndeclaredLead = "Nitelikli değil / NES niteliği doğrulanamadı. ";
const char* const kPoliciesLabel = "Sertifika politikaları: ";
const char* const kPublicSectorSuffix = " (Kamu SM NES)";

QString oidText(const ASN1_OBJECT* object)
{
    std::array<char, kOidTextBytes> text{};
    const int length = OBJ_obj2txt(text.data(), int(text.size()), object, 1);
    if (length <= 0 || length >= int(text.size()))
        return {};
    return QString::fromLatin1(text.data(), length);
}

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

// The certificate-policy OIDs in order; empty when there are none or the
// extension does not decode (or occurs twice).
QStringList policyOids(X509* certificate)
{
    QStringList oids;
    int critical = 0;
    auto* policies = static_cast<CERTIFICATEPOLICIES*>(
        X509_get_ext_d2i(certificate, NID_certificate_policies, &critical, nullptr));
    for (int i = 0; policies != nullptr && i < sk_POLICYINFO_num(policies); ++i)
        oids.append(oidText(sk_POLICYINFO_value(policies, i)->policyid));
    CERTIFICATEPOLICIES_free(policies);
    return oids;
}

bool policiesAcceptable(const QStringList& oids)
{
    if (oids.isEmpty() || oids.contains(QLatin1String(kAnyPolicy)) || oids.contains(QString()))
        return false;
    for (const char* excluding : kExcludingPolicies) {
        if (oids.contains(QLatin1String(excluding)))
            return false;
    }
    return true;
}

// Exactly nonRepudiation, or exactly digitalSignature with it, on an end entity.
bool qualifiedKeyUsage(X509* certificate)
{
    const uint32_t usage = X509_get_key_usage(certificate);
    return X509_check_ca(certificate) == 0
        && (usage == KU_NON_REPUDIATION || usage == (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION));
}

bool issuerIsTurkish(X509* certificate)
{
    const X509_NAME* issuer = X509_get_issuer_name(certificate);
    const int index = issuer != nullptr ? X509_NAME_get_index_by_NID(issuer, NID_countryName, -1) : -1;
    if (index < 0)
        return false;
    const ASN1_STRING* value = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(issuer, index));
    return value != nullptr && ASN1_STRING_length(value) == 2
        && std::memcmp(ASN1_STRING_get0_data(value), "TR", 2) == 0;
}

QList<QByteArray> builtInTable()
{
    QList<QByteArray> table;
    for (const std::string_view hex : kAuthorisedProviders)
        table.append(QByteArray::fromHex(QByteArray(hex.data(), qsizetype(hex.size()))));
    return table;
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

void CertificatePolicy::checkNesProfile(SignatureReport& report)
{
    checkNesProfile(report, builtInTable());
}

bool CertificatePolicy::isAuthorisedProviderChain(const QList<QByteArray>& chain)
{
    return isAuthorisedProviderChain(chain, builtInTable());
}

void CertificatePolicy::checkNesProfile(SignatureReport& report, const QList<QByteArray>& authorisedFingerprints)
{
    report.nesQualified = false;
    report.nesText = QString::fromUtf8(kNotQualified);
    const X509Ptr certificate = CertificateDer::parse(report.signerCertificate);
    if (!certificate)
        return;
    const QStringList policies = policyOids(certificate.get());
    const std::optional<QcStatementFacts> statements = QcStatements::read(certificate.get());
    if (!statements)
        return;
    const bool declared = qualifiedKeyUsage(certificate.get()) && checkSigningPurpose(certificate.get())
        && policiesAcceptable(policies) && statements->compliance && statements->turkishStatement
        && statements->esignKept && issuerIsTurkish(certificate.get());
    report.nesQualified =
        declared && report.chainTrusted && isAuthorisedProviderChain(report.chain, authorisedFingerprints);
    const char* lead = report.nesQualified ? kQualifiedLead : declared ? kDeclaredLead : kUndeclaredLead;
    report.nesText = QString::fromUtf8(lead) + QString::fromUtf8(kPoliciesLabel) + policies.join(QStringLiteral(", "));
    if (policies.contains(QLatin1String(kPublicSectorPolicy)))
        report.nesText += QString::fromUtf8(kPublicSectorSuffix);
}

bool CertificatePolicy::isAuthorisedProviderChain(const QList<QByteArray>& chain,
                                                  const QList<QByteArray>& authorisedFingerprints)
{
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const X509Ptr certificate = CertificateDer::parse(chain.at(i));
        if (!certificate || X509_check_ca(certificate.get()) <= 0)
            continue;
        if (authorisedFingerprints.contains(QCryptographicHash::hash(chain.at(i), QCryptographicHash::Sha256)))
            return true;
    }
    return false;
}

} // namespace velk
