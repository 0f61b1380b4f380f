#include "signing/timestamps/Timestamp.h"

#include "signing/timestamps/AsnTime.h"
#include "signing/timestamps/TimestampRequest.h"
#include "signing/timestamps/TrustStore.h"
#include "signing/certificates/CertificateDer.h"
#include "signing/certificates/CertificateDisplayName.h"
#include "signing/network/EvidenceFetcher.h"

#include <QDateTime>
#include <QUrl>

#include <cstring>

namespace velk {

namespace {

const char* const kNotPrepared = "TSA isteği veya güven deposu hazırlanamadı.";
const char* const kBrokenReply = "RFC3161 TSA yanıtı bozuk veya eksik.";
const char* const kRejected = "TSA imzası/zinciri, zaman damgası EKU, imprint veya nonce doğrulanamadı.";
const char* const kBadTime = "TSA zamanı doğrulanamadı veya yerel saatten 5 dakikadan fazla farklı.";

// Signature with chain, signing-certificate attribute and time-stamping EKU;
// version; imprint; TSA name against the signer.
constexpr int kTokenChecks = TS_VFY_SIGNATURE | TS_VFY_VERSION | TS_VFY_IMPRINT | TS_VFY_SIGNER;

// Parses a whole TimeStampResp: a byte after it means a broken reply.
TsResponsePtr parseResponse(const QByteArray& bytes)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(bytes.constData());
    TsResponsePtr response(d2i_TS_RESP(nullptr, &cursor, long(bytes.size())));
    if (!response || cursor != reinterpret_cast<const unsigned char*>(bytes.constData()) + bytes.size())
        return {};
    return response;
}

// A token as stored in a zero-filled PDF Contents: only zeros may follow it.
Pkcs7Ptr parseToken(const QByteArray& bytes)
{
    const auto* start = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* cursor = start;
    Pkcs7Ptr token(d2i_PKCS7(nullptr, &cursor, long(bytes.size())));
    if (!token)
        return {};
    for (const unsigned char* rest = cursor; rest < start + bytes.size(); ++rest) {
        if (*rest != 0)
            return {};
    }
    return token;
}

QByteArray encodeToken(PKCS7* token)
{
    unsigned char* der = nullptr;
    const int length = i2d_PKCS7(token, &der);
    if (length <= 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    return bytes;
}

bool notInFuture(const QDateTime& time)
{
    return time <= QDateTime::currentDateTimeUtc().addSecs(kTimestampSkewSeconds);
}

// A verification context owning a copy of the imprint and the store.
TsVerifyContextPtr tokenContext(const QByteArray& imprint, X509StorePtr store)
{
    TsVerifyContextPtr context(TS_VERIFY_CTX_new());
    auto* copy = static_cast<unsigned char*>(OPENSSL_malloc(size_t(imprint.size())));
    if (!context || copy == nullptr) {
        OPENSSL_free(copy);
        return {};
    }
    std::memcpy(copy, imprint.constData(), size_t(imprint.size()));
    TS_VERIFY_CTX_set_imprint(context.get(), copy, long(imprint.size()));
    TS_VERIFY_CTX_set_store(context.get(), store.release());
    TS_VERIFY_CTX_set_flags(context.get(), kTokenChecks);
    return context;
}

bool checkResponse(TS_REQ* request, TS_RESP* response, X509StorePtr store)
{
    TsVerifyContextPtr context(TS_REQ_to_TS_VERIFY_CTX(request, nullptr));
    if (!context)
        return false;
    TS_VERIFY_CTX_set_store(context.get(), store.release());
    TS_VERIFY_CTX_add_flags(context.get(), TS_VFY_SIGNATURE | TS_VFY_SIGNER);
    return TS_RESP_verify_response(context.get(), response) == 1;
}

} // namespace

QByteArray Timestamp::requestTimestamp(const QByteArray& imprint, const QString& tsaUrl, const QString& trustPath,
                                       EvidenceFetchContext& context, QString& error)
{
    error.clear();
    TsRequestPtr request = TimestampRequest::buildTimestampRequest(imprint);
    X509StorePtr store = TrustStore::loadTrustStore(trustPath);
    const QByteArray query = request ? TimestampRequest::encode(request.get()) : QByteArray();
    if (!request || !store || query.isEmpty()) {
        error = QString::fromUtf8(kNotPrepared);
        return {};
    }
    const QByteArray body = EvidenceFetcher::fetchEvidence(context, QUrl(tsaUrl), query,
                                                           "application/timestamp-query", error);
    TsResponsePtr response = body.isEmpty() ? TsResponsePtr() : parseResponse(body);
    if (!response) {
        if (error.isEmpty())
            error = QString::fromUtf8(kBrokenReply);
        return {};
    }
    if (!checkResponse(request.get(), response.get(), std::move(store))) {
        error = QString::fromUtf8(kRejected);
        return {};
    }
    const QByteArray token = encodeToken(TS_RESP_get_token(response.get()));
    const std::optional<QDateTime> genTime =
        AsnTime::toDateTime(TS_TST_INFO_get_time(TS_RESP_get_tst_info(response.get())));
    SignatureReport scratch;
    if (token.isEmpty() || !genTime || !verifyTimestampToken(token, imprint, trustPath, scratch)
        || qAbs(genTime->secsTo(QDateTime::currentDateTimeUtc())) > kTimestampSkewSeconds) {
        error = QString::fromUtf8(kBadTime);
        return {};
    }
    return token;
}

bool Timestamp::verifyTimestampToken(const QByteArray& token, const QByteArray& imprint, const QString& trustPath,
                                     SignatureReport& report)
{
    report.hasTimestamp = true;
    Pkcs7Ptr parsed = parseToken(token);
    X509StorePtr store = TrustStore::loadTrustStore(trustPath);
    if (!parsed || !store || imprint.size() != kImprintBytes)
        return false;
    TsTokenInfoPtr info(PKCS7_to_TS_TST_INFO(parsed.get()));
    const std::optional<QDateTime> genTime = info ? AsnTime::toDateTime(TS_TST_INFO_get_time(info.get())) : std::nullopt;
    if (!genTime || !notInFuture(*genTime))
        return false;
    // The authority's chain is judged at the time of stamping.
    X509_VERIFY_PARAM_set_time(X509_STORE_get0_param(store.get()), time_t(genTime->toSecsSinceEpoch()));
    TsVerifyContextPtr context = tokenContext(imprint, std::move(store));
    if (!context || TS_RESP_verify_token(context.get(), parsed.get()) != 1)
        return false;
    const X509_ALGOR* algorithm = TS_MSG_IMPRINT_get_algo(TS_TST_INFO_get_msg_imprint(info.get()));
    if (algorithm == nullptr || OBJ_obj2nid(algorithm->algorithm) != NID_sha256)
        return false;
    const QString time = AsnTime::isoTime(TS_TST_INFO_get_time(info.get()));
    if (time.isEmpty() || !notInFuture(QDateTime::fromString(time, Qt::ISODate)))
        return false;
    report.timestampTime = time;
    if (report.signerCertificate.isEmpty()) {
        SignatureReport signer;
        inspectTimestampToken(token, true, signer);
        report.signerCertificate = signer.signerCertificate;
        report.certificates += signer.certificates;
        report.signerName = certificateDisplayName(report.signerCertificate);
    }
    report.timestampToken = token;
    report.timestampValid = true;
    return true;
}

QByteArray Timestamp::timestampTokenOf(CMS_SignerInfo* signerInfo)
{
    if (signerInfo == nullptr)
        return {};
    const int index = CMS_unsigned_get_attr_by_NID(signerInfo, NID_id_smime_aa_timeStampToken, -1);
    if (index < 0 || CMS_unsigned_get_attr_by_NID(signerInfo, NID_id_smime_aa_timeStampToken, index) >= 0)
        return {};
    X509_ATTRIBUTE* attribute = CMS_unsigned_get_attr(signerInfo, index);
    if (attribute == nullptr || X509_ATTRIBUTE_count(attribute) != 1)
        return {};
    const ASN1_TYPE* value = X509_ATTRIBUTE_get0_type(attribute, 0);
    if (value == nullptr || value->type != V_ASN1_SEQUENCE || value->value.sequence == nullptr)
        return {};
    const ASN1_STRING* sequence = value->value.sequence;
    return QByteArray(reinterpret_cast<const char*>(ASN1_STRING_get0_data(sequence)), ASN1_STRING_length(sequence));
}

void Timestamp::inspectTimestampToken(const QByteArray& bytes, bool isToken, SignatureReport& report)
{
    QByteArray tokenBytes = bytes;
    if (!isToken) {
        const auto* cursor = reinterpret_cast<const unsigned char*>(bytes.constData());
        CmsContentInfoPtr cms(d2i_CMS_ContentInfo(nullptr, &cursor, long(bytes.size())));
        STACK_OF(CMS_SignerInfo)* signers = cms ? CMS_get0_SignerInfos(cms.get()) : nullptr;
        if (signers == nullptr || sk_CMS_SignerInfo_num(signers) != 1)
            return;
        tokenBytes = timestampTokenOf(sk_CMS_SignerInfo_value(signers, 0));
    }
    Pkcs7Ptr token = parseToken(tokenBytes);
    if (!token || OBJ_obj2nid(token->type) != NID_pkcs7_signed || token->d.sign == nullptr)
        return;
    STACK_OF(X509)* signers = PKCS7_get0_signers(token.get(), nullptr, 0);
    if (signers != nullptr && sk_X509_num(signers) == 1)
        report.signerCertificate = CertificateDer::encode(sk_X509_value(signers, 0));
    sk_X509_free(signers);
    const STACK_OF(X509)* carried = token->d.sign->cert;
    for (int i = 0; i < sk_X509_num(carried); ++i)
        report.certificates.append(CertificateDer::encode(sk_X509_value(carried, i)));
}

} // namespace velk
