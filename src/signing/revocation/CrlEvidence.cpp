#include "signing/revocation/CrlEvidence.h"

#include "signing/revocation/RevocationLimits.h"
#include "signing/timestamps/AsnTime.h"
#include "worker/contract/OpenSslHandles.h"

#include <openssl/x509v3.h>

namespace velk {

namespace {

X509CrlPtr parseCrl(const QByteArray& der)
{
    const auto* start = reinterpret_cast<const unsigned char*>(der.constData());
    const unsigned char* cursor = start;
    X509CrlPtr crl(d2i_X509_CRL(nullptr, &cursor, long(der.size())));
    if (!crl || cursor != start + der.size())
        return {};
    return crl;
}

// Signed by the issuer's key, which may sign CRLs; a full, complete CRL
// without extensions we do not understand.
bool isUsableCrl(X509_CRL* crl, X509* issuer)
{
    EVP_PKEY* key = X509_get0_pubkey(issuer);
    const uint32_t usage = X509_get_key_usage(issuer);
    if (key == nullptr || (usage != UINT32_MAX && (usage & KU_CRL_SIGN) == 0) || X509_CRL_verify(crl, key) != 1)
        return false;
    return X509_NAME_cmp(X509_CRL_get_issuer(crl), X509_get_subject_name(issuer)) == 0
           && X509_CRL_get0_nextUpdate(crl) != nullptr && X509_CRL_get_ext_by_NID(crl, NID_delta_crl, -1) < 0
           && X509_CRL_get_ext_by_NID(crl, NID_issuing_distribution_point, -1) < 0
           && X509_CRL_get_ext_by_critical(crl, 1, -1) < 0;
}

// A CRL issued after the reference time still proves that a certificate it
// does not list was not revoked then, provided it is not from the future and
// the certificate was still valid (so still listed if revoked) when it was issued.
bool provesGoodAfterwards(const QDateTime& thisUpdate, X509* certificate)
{
    const std::optional<QDateTime> notAfter = AsnTime::toDateTime(X509_get0_notAfter(certificate));
    return thisUpdate <= QDateTime::currentDateTimeUtc().addSecs(revocation::kClockSkewSeconds) && notAfter
           && *notAfter >= thisUpdate;
}

} // namespace

int CrlEvidence::checkCrl(const QByteArray& crlDer, X509* certificate, X509* issuer, const QDateTime& referenceTime)
{
    X509CrlPtr crl = parseCrl(crlDer);
    if (!crl || certificate == nullptr || issuer == nullptr || !isUsableCrl(crl.get(), issuer))
        return 0;
    const std::optional<QDateTime> thisUpdate = AsnTime::toDateTime(X509_CRL_get0_lastUpdate(crl.get()));
    const std::optional<QDateTime> nextUpdate = AsnTime::toDateTime(X509_CRL_get0_nextUpdate(crl.get()));
    if (!thisUpdate || !nextUpdate)
        return 0;
    const QDateTime reference = referenceTime.isValid() ? referenceTime : QDateTime::currentDateTimeUtc();
    X509_REVOKED* entry = nullptr;
    const bool listed = X509_CRL_get0_by_cert(crl.get(), &entry, certificate) == 1;
    if (referenceTime.isValid() && *thisUpdate > reference && !listed)
        return provesGoodAfterwards(*thisUpdate, certificate) ? 1 : 0;
    if (*thisUpdate > reference || reference > *nextUpdate)
        return 0;
    if (!listed)
        return 1;
    const std::optional<QDateTime> revoked = AsnTime::toDateTime(X509_REVOKED_get0_revocationDate(entry));
    return revoked && *revoked <= reference ? 2 : 0;
}

QStringList CrlEvidence::crlUrlsOf(X509* certificate)
{
    QStringList urls;
    auto* points = static_cast<STACK_OF(DIST_POINT)*>(
        X509_get_ext_d2i(certificate, NID_crl_distribution_points, nullptr, nullptr));
    for (int i = 0; i < sk_DIST_POINT_num(points) && urls.size() < revocation::kMaxCrlUrls; ++i) {
        const DIST_POINT* point = sk_DIST_POINT_value(points, i);
        if (point->distpoint == nullptr || point->distpoint->type != 0 || point->reasons != nullptr
            || point->CRLissuer != nullptr)
            continue;
        const GENERAL_NAMES* names = point->distpoint->name.fullname;
        for (int j = 0; j < sk_GENERAL_NAME_num(names) && urls.size() < revocation::kMaxCrlUrls; ++j) {
            const GENERAL_NAME* name = sk_GENERAL_NAME_value(names, j);
            if (name->type != GEN_URI)
                continue;
            const ASN1_IA5STRING* uri = name->d.uniformResourceIdentifier;
            urls.append(QString::fromLatin1(reinterpret_cast<const char*>(ASN1_STRING_get0_data(uri)),
                                            ASN1_STRING_length(uri)));
        }
    }
    sk_DIST_POINT_pop_free(points, DIST_POINT_free);
    return urls;
}

} // namespace velk
