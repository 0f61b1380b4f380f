#include "signing/cms/CmsSignature.h"

#include "signing/cms/DerEncoding.h"
#include "signing/cms/SignedDataEncoder.h"
#include "signing/certificates/CertificateDer.h"
#include "signing/timestamps/Timestamp.h"

#include <QCryptographicHash>
#include <QFile>

#include <openssl/err.h>
#include <openssl/ess.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <algorithm>

namespace velk {

namespace {

const char* const kInvalidInput = "İmzacı sertifikası veya belge özeti geçersiz.";
const char* const kWeakKey = "Sertifika RSA 2048+ veya EC 256+ imza anahtarı içermeli.";
const char* const kOutsideValidity = "İmzacı sertifikasının geçerlilik süresi dışında.";
const char* const kKeyUsage = "Sertifikanın anahtar kullanımı imzalamaya izin vermiyor.";
const char* const kBindingNotBuilt = "İmza sertifika bağı oluşturulamadı.";
const char* const kNoSignature = "Cihaz imza üretmedi.";
const char* const kSignatureMismatch = "Cihaz imzası seçilen sertifikayla doğrulanamadı.";
const char* const kUnreadableCms = "CMS okunamadı.";
const char* const kUnreadableChain = "PEM güven zinciri okunamadı.";
const char* const kTooManyCertificates = "PEM zinciri 32 sertifikayı aşıyor.";
const char* const kNotCompleted = "CMS imzası tamamlanamadı.";

const char* const kContentType = "1.2.840.113549.1.9.3";
const char* const kMessageDigest = "1.2.840.113549.1.9.4";
const char* const kSigningCertificateV2 = "1.2.840.113549.1.9.16.2.47";
const char* const kIdData = "1.2.840.113549.1.7.1";

constexpr qsizetype kDigestBytes = 32;
constexpr int kMinRsaBits = 2048;
constexpr int kMinEcBits = 256;
constexpr unsigned char kOctetString = 0x04;
constexpr unsigned char kSet = 0x31;

using EssSigningCertV2Ptr = OpenSslHandle<ESS_SIGNING_CERT_V2, ESS_SIGNING_CERT_V2_free>;

bool strongKey(X509* certificate)
{
    EVP_PKEY* key = X509_get0_pubkey(certificate);
    if (key == nullptr)
        return false;
    if (EVP_PKEY_is_a(key, "RSA"))
        return EVP_PKEY_get_bits(key) >= kMinRsaBits;
    return EVP_PKEY_is_a(key, "EC") && EVP_PKEY_get_bits(key) >= kMinEcBits;
}

// An error result (0) of either comparison fails as well.
bool validNow(X509* certificate)
{
    return X509_cmp_current_time(X509_get0_notBefore(certificate)) < 0
        && X509_cmp_current_time(X509_get0_notAfter(certificate)) > 0;
}

bool keyUsageAllowsSigning(X509* certificate)
{
    const uint32_t usage = X509_get_key_usage(certificate);
    return usage == UINT32_MAX || (usage & (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION)) != 0;
}

// ESS signingCertificateV2 with one SHA-256 ESSCertIDv2 and issuer-serial;
// the default hash algorithm is left out of the encoding.
QByteArray signingCertificateV2(X509* certificate)
{
    const EssSigningCertV2Ptr binding(OSSL_ESS_signing_cert_v2_new_init(EVP_sha256(), certificate, nullptr, 1));
    return DerEncoding::encode<ESS_SIGNING_CERT_V2, i2d_ESS_SIGNING_CERT_V2>(binding.get());
}

// The attributes in ascending byte order, as DER requires of a SET OF.
QByteArray sortedAttributes(QList<QByteArray> attributes)
{
    std::sort(attributes.begin(), attributes.end(), [](const QByteArray& a, const QByteArray& b) {
        return std::lexicographical_compare(reinterpret_cast<const unsigned char*>(a.constBegin()),
                                            reinterpret_cast<const unsigned char*>(a.constEnd()),
                                            reinterpret_cast<const unsigned char*>(b.constBegin()),
                                            reinterpret_cast<const unsigned char*>(b.constEnd()));
    });
    return attributes.join();
}

// The key's default scheme: PKCS#1 v1.5 for RSA, DER ECDSA for EC.
bool signatureMatches(X509* certificate, const QByteArray& data, const QByteArray& signature)
{
    EvpMdCtxPtr context(EVP_MD_CTX_new());
    if (!context
        || EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, X509_get0_pubkey(certificate)) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
                            size_t(signature.size()), reinterpret_cast<const unsigned char*>(data.constData()),
                            size_t(data.size()))
        == 1;
}

// The one precondition sentence the certificate fails, or null.
const char* certificateRefusal(X509* certificate)
{
    if (!strongKey(certificate))
        return kWeakKey;
    if (!validNow(certificate))
        return kOutsideValidity;
    if (!keyUsageAllowsSigning(certificate))
        return kKeyUsage;
    return nullptr;
}

// The whole SignedData we built; nothing may follow it.
CmsContentInfoPtr parseCms(const QByteArray& bytes)
{
    const auto* start = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* cursor = start;
    CmsContentInfoPtr cms(d2i_CMS_ContentInfo(nullptr, &cursor, long(bytes.size())));
    if (!cms || cursor != start + bytes.size())
        return {};
    return cms;
}

CMS_SignerInfo* soleSignerInfo(CMS_ContentInfo* cms)
{
    STACK_OF(CMS_SignerInfo)* signerInfos = cms != nullptr ? CMS_get0_SignerInfos(cms) : nullptr;
    if (signerInfos == nullptr || sk_CMS_SignerInfo_num(signerInfos) != 1)
        return nullptr;
    return sk_CMS_SignerInfo_value(signerInfos, 0);
}

// Adds every certificate of the PEM file; the reading stops at the end of
// the data or at the first block that is not a certificate.
const char* addTrustChain(CMS_ContentInfo* cms, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTrustChainBytes)
        return kUnreadableChain;
    const QByteArray pem = file.read(kMaxTrustChainBytes + 1);
    if (pem.size() > kMaxTrustChainBytes)
        return kUnreadableChain;
    BioPtr bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    if (!bio)
        return kUnreadableChain;
    int count = 0;
    while (X509Ptr certificate{PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)}) {
        if (++count > kMaxTrustChainCertificates)
            return kTooManyCertificates;
        // A certificate the CMS already carries (the signer's) is refused by
        // OpenSSL and needs no second copy.
        CMS_add1_cert(cms, certificate.get());
    }
    ERR_clear_error();
    return nullptr;
}

QByteArray signatureValue(CMS_SignerInfo* signerInfo)
{
    const ASN1_OCTET_STRING* value = CMS_SignerInfo_get0_signature(signerInfo);
    if (value == nullptr)
        return {};
    return QByteArray(reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)), ASN1_STRING_length(value));
}

QByteArray encodeCms(CMS_ContentInfo* cms)
{
    return DerEncoding::encode<CMS_ContentInfo, i2d_CMS_ContentInfo>(cms);
}

} // namespace

QByteArray CmsSignature::buildCmsSignature(const QByteArray& documentDigest, const QByteArray& certificateDer,
                                           const TokenSignFunction& sign, QString& error)
{
    error.clear();
    const X509Ptr certificate = CertificateDer::parse(certificateDer);
    if (!certificate || documentDigest.size() != kDigestBytes) {
        error = QString::fromUtf8(kInvalidInput);
        return {};
    }
    if (const char* refusal = certificateRefusal(certificate.get())) {
        error = QString::fromUtf8(refusal);
        return {};
    }
    const QByteArray binding = signingCertificateV2(certificate.get());
    if (binding.isEmpty()) {
        error = QString::fromUtf8(kBindingNotBuilt);
        return {};
    }
    const QByteArray attributes = sortedAttributes({
        DerEncoding::derAttribute(QLatin1String(kContentType), DerEncoding::derOid(QLatin1String(kIdData))),
        DerEncoding::derAttribute(QLatin1String(kMessageDigest), DerEncoding::derTlv(kOctetString, documentDigest)),
        DerEncoding::derAttribute(QLatin1String(kSigningCertificateV2), binding),
    });
    const QByteArray toBeSigned = DerEncoding::derTlv(kSet, attributes);
    const QByteArray signature = sign ? sign(toBeSigned, error) : QByteArray();
    if (signature.isEmpty()) {
        if (error.isEmpty())
            error = QString::fromUtf8(kNoSignature);
        return {};
    }
    error.clear();
    if (!signatureMatches(certificate.get(), toBeSigned, signature)) {
        error = QString::fromUtf8(kSignatureMismatch);
        return {};
    }
    const QByteArray encoded = SignedDataEncoder::encode(certificate.get(), attributes, signature);
    if (encoded.isEmpty())
        error = QString::fromUtf8(kInvalidInput);
    return encoded;
}

QByteArray CmsSignature::completeCmsSignature(const QByteArray& cms, const SignatureOptions& options,
                                              EvidenceFetchContext& context, QString& error)
{
    error.clear();
    const CmsContentInfoPtr parsed = parseCms(cms);
    CMS_SignerInfo* signerInfo = soleSignerInfo(parsed.get());
    if (signerInfo == nullptr) {
        error = QString::fromUtf8(kUnreadableCms);
        return {};
    }
    if (!options.trustChain.isEmpty()) {
        if (const char* refusal = addTrustChain(parsed.get(), options.trustChain)) {
            error = QString::fromUtf8(refusal);
            return {};
        }
    }
    if (!options.timestampAuthority.isEmpty()) {
        const QByteArray imprint = QCryptographicHash::hash(signatureValue(signerInfo), QCryptographicHash::Sha256);
        const QByteArray token =
            Timestamp::requestTimestamp(imprint, options.timestampAuthority, options.trustChain, context, error);
        if (token.isEmpty())
            return {};
        if (CMS_unsigned_add1_attr_by_NID(signerInfo, NID_id_smime_aa_timeStampToken, V_ASN1_SEQUENCE,
                                          token.constData(), int(token.size()))
            != 1) {
            error = QString::fromUtf8(kNotCompleted);
            return {};
        }
    }
    const QByteArray encoded = encodeCms(parsed.get());
    if (encoded.isEmpty())
        error = QString::fromUtf8(kNotCompleted);
    return encoded;
}

} // namespace velk
