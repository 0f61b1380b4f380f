#include "signing/revocation/OcspEvidence.h"

#include "signing/revocation/RevocationLimits.h"
#include "signing/timestamps/AsnTime.h"

namespace velk {

namespace {

using namespace revocation;

struct SingleStatus {
    int status = -1;
    QDateTime thisUpdate;
    QDateTime nextUpdate;
    QDateTime revokedAt;
    ASN1_GENERALIZEDTIME* thisUpdateRaw = nullptr;
    ASN1_GENERALIZEDTIME* nextUpdateRaw = nullptr;
};

OcspBasicResponsePtr parseBasic(const QByteArray& der)
{
    const auto* start = reinterpret_cast<const unsigned char*>(der.constData());
    const unsigned char* cursor = start;
    OcspResponsePtr response(d2i_OCSP_RESPONSE(nullptr, &cursor, long(der.size())));
    if (!response || cursor != start + der.size()
        || OCSP_response_status(response.get()) != OCSP_RESPONSE_STATUS_SUCCESSFUL)
        return {};
    return OcspBasicResponsePtr(OCSP_response_get1_basic(response.get()));
}

// Verifies the responder's signature and chain at the store's time, or now
// when `atNow`: the store may be set to a reference time before the
// responder's certificate was even issued.
bool verifyBasic(OCSP_BASICRESP* basic, X509_STORE* store, STACK_OF(X509) * untrusted, bool atNow)
{
    X509_VERIFY_PARAM* parameters = X509_STORE_get0_param(store);
    const bool timed = (X509_VERIFY_PARAM_get_flags(parameters) & X509_V_FLAG_USE_CHECK_TIME) != 0;
    const time_t savedTime = X509_VERIFY_PARAM_get_time(parameters);
    if (atNow && timed)
        X509_VERIFY_PARAM_clear_flags(parameters, X509_V_FLAG_USE_CHECK_TIME);
    const bool verified = OCSP_basic_verify(basic, untrusted, store, 0) > 0;
    if (atNow && timed)
        X509_VERIFY_PARAM_set_time(parameters, savedTime);
    return verified;
}

// The one SingleResponse about the certificate, with both update times.
std::optional<SingleStatus> singleStatus(OCSP_BASICRESP* basic, OCSP_CERTID* id)
{
    OCSP_SINGLERESP* match = nullptr;
    for (int i = 0; i < OCSP_resp_count(basic); ++i) {
        OCSP_SINGLERESP* single = OCSP_resp_get0(basic, i);
        if (OCSP_id_cmp(OCSP_SINGLERESP_get0_id(single), id) == 0) {
            if (match != nullptr)
                return std::nullopt;
            match = single;
        }
    }
    if (match == nullptr)
        return std::nullopt;
    SingleStatus result;
    int reason = 0;
    ASN1_GENERALIZEDTIME* revoked = nullptr;
    result.status = OCSP_single_get0_status(match, &reason, &revoked, &result.thisUpdateRaw, &result.nextUpdateRaw);
    const auto thisUpdate = AsnTime::toDateTime(result.thisUpdateRaw);
    const auto nextUpdate = AsnTime::toDateTime(result.nextUpdateRaw);
    if (!thisUpdate || !nextUpdate || *thisUpdate >= *nextUpdate)
        return std::nullopt;
    result.thisUpdate = *thisUpdate;
    result.nextUpdate = *nextUpdate;
    if (revoked != nullptr)
        result.revokedAt = AsnTime::toDateTime(revoked).value_or(QDateTime());
    return result;
}

int statusNow(const SingleStatus& single)
{
    if (OCSP_check_validity(single.thisUpdateRaw, single.nextUpdateRaw, kClockSkewSeconds, kMaxOcspAgeSeconds) != 1)
        return 0;
    if (single.status == V_OCSP_CERTSTATUS_GOOD)
        return 1;
    return single.status == V_OCSP_CERTSTATUS_REVOKED ? 2 : 0;
}

int statusAt(const SingleStatus& single, const QDateTime& producedAt, const QDateTime& reference, bool allowEarlier)
{
    // A good answer given after the reference time still proves the
    // certificate was not revoked then: fresh answers (with the nonce we ask
    // for) always carry the time they were made.
    if (single.status == V_OCSP_CERTSTATUS_GOOD && single.thisUpdate > reference)
        return single.thisUpdate <= QDateTime::currentDateTimeUtc().addSecs(kClockSkewSeconds) ? 1 : 0;
    if (single.thisUpdate > reference || reference > single.nextUpdate || producedAt < single.thisUpdate
        || producedAt > single.nextUpdate.addSecs(kClockSkewSeconds) || (!allowEarlier && producedAt < reference))
        return 0;
    if (single.status == V_OCSP_CERTSTATUS_GOOD)
        return 1;
    if (single.status != V_OCSP_CERTSTATUS_REVOKED || !single.revokedAt.isValid())
        return 0;
    return single.revokedAt <= reference ? 2 : 0;
}

} // namespace

int OcspEvidence::checkOcspResponse(const QByteArray& responseDer, X509* certificate, X509* issuer, X509_STORE* store,
                                    STACK_OF(X509) * untrusted, OCSP_REQUEST* request, const QDateTime& referenceTime,
                                    bool allowEarlier)
{
    if (certificate == nullptr || issuer == nullptr || store == nullptr)
        return 0;
    OcspBasicResponsePtr basic = parseBasic(responseDer);
    OcspCertIdPtr id(OCSP_cert_to_id(EVP_sha1(), certificate, issuer));
    if (!basic || !id)
        return 0;
    const std::optional<SingleStatus> single = singleStatus(basic.get(), id.get());
    const std::optional<QDateTime> producedAt = AsnTime::toDateTime(OCSP_resp_get0_produced_at(basic.get()));
    if (!single || !producedAt || *producedAt > QDateTime::currentDateTimeUtc().addSecs(kClockSkewSeconds))
        return 0;
    // Read before verification only to choose the time of verification.
    const bool issuedAfterReference = referenceTime.isValid() && single->thisUpdate > referenceTime;
    if (!verifyBasic(basic.get(), store, untrusted, issuedAfterReference)
        || (request != nullptr && OCSP_check_nonce(request, basic.get()) != 1))
        return 0;
    return referenceTime.isValid() ? statusAt(*single, *producedAt, referenceTime, allowEarlier) : statusNow(*single);
}

OcspRequestPtr OcspEvidence::buildRequest(X509* certificate, X509* issuer)
{
    OcspRequestPtr request(OCSP_REQUEST_new());
    OCSP_CERTID* id = OCSP_cert_to_id(EVP_sha1(), certificate, issuer);
    if (!request || id == nullptr) {
        OCSP_CERTID_free(id);
        return {};
    }
    if (OCSP_request_add0_id(request.get(), id) == nullptr) {
        OCSP_CERTID_free(id);
        return {};
    }
    if (OCSP_request_add1_nonce(request.get(), nullptr, kOcspNonceBytes) != 1)
        return {};
    return request;
}

QByteArray OcspEvidence::encode(OCSP_REQUEST* request)
{
    unsigned char* der = nullptr;
    const int length = i2d_OCSP_REQUEST(request, &der);
    if (length <= 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    return bytes;
}

QStringList OcspEvidence::ocspUrlsOf(X509* certificate)
{
    QStringList urls;
    STACK_OF(OPENSSL_STRING)* list = X509_get1_ocsp(certificate);
    for (int i = 0; i < sk_OPENSSL_STRING_num(list) && urls.size() < revocation::kMaxOcspUrls; ++i)
        urls.append(QString::fromLatin1(sk_OPENSSL_STRING_value(list, i)));
    X509_email_free(list);
    return urls;
}

} // namespace velk
