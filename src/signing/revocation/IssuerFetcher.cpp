#include "signing/revocation/IssuerFetcher.h"

#include "signing/certificates/CertificateDer.h"
#include "signing/revocation/RevocationLimits.h"
#include "signing/network/EvidenceFetcher.h"

#include <QUrl>

#include <openssl/x509v3.h>

namespace velk {

namespace {

QStringList issuerUrlsOf(X509* certificate)
{
    QStringList urls;
    auto* access = static_cast<AUTHORITY_INFO_ACCESS*>(X509_get_ext_d2i(certificate, NID_info_access, nullptr, nullptr));
    const int count = qMin(sk_ACCESS_DESCRIPTION_num(access), revocation::kMaxAccessEntries);
    for (int i = 0; i < count; ++i) {
        const ACCESS_DESCRIPTION* entry = sk_ACCESS_DESCRIPTION_value(access, i);
        if (OBJ_obj2nid(entry->method) != NID_ad_ca_issuers || entry->location->type != GEN_URI)
            continue;
        const ASN1_IA5STRING* uri = entry->location->d.uniformResourceIdentifier;
        urls.append(QString::fromLatin1(reinterpret_cast<const char*>(ASN1_STRING_get0_data(uri)),
                                        ASN1_STRING_length(uri)));
    }
    AUTHORITY_INFO_ACCESS_free(access);
    return urls;
}

// A CA certificate that issued `certificate` and whose key verifies its signature.
X509Ptr acceptableIssuer(const QByteArray& body, X509* certificate, const SignatureReport& report)
{
    if (body.size() > revocation::kMaxIssuerBytes || report.certificates.contains(body))
        return {};
    X509Ptr candidate = CertificateDer::parse(body);
    EVP_PKEY* key = candidate ? X509_get0_pubkey(candidate.get()) : nullptr;
    if (key == nullptr || X509_check_ca(candidate.get()) <= 0
        || X509_check_issued(candidate.get(), certificate) != X509_V_OK || X509_verify(certificate, key) != 1)
        return {};
    return candidate;
}

} // namespace

bool IssuerFetcher::fetchIssuer(X509* certificate, SignatureReport& report, STACK_OF(X509) * untrusted,
                                EvidenceFetchContext& context, QString* lastError)
{
    if (certificate == nullptr || untrusted == nullptr)
        return false;
    for (const QString& url : issuerUrlsOf(certificate)) {
        QString error;
        const QByteArray body = EvidenceFetcher::fetchEvidence(context, QUrl(url), {}, "application/pkix-cert", error);
        if (!error.isEmpty() && lastError != nullptr)
            *lastError = error;
        X509Ptr issuer = body.isEmpty() ? X509Ptr() : acceptableIssuer(body, certificate, report);
        if (!issuer)
            continue;
        report.certificates.append(body);
        if (sk_X509_push(untrusted, issuer.get()) <= 0)
            return false;
        issuer.release();
        return true;
    }
    return false;
}

} // namespace velk
