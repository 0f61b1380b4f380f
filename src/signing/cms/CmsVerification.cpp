#include "signing/cms/CmsVerification.h"

#include "signing/cms/SignerAttributes.h"
#include "signing/certificates/CertificateDer.h"
#include "signing/certificates/CertificateDisplayName.h"
#include "signing/certificates/CertificatePolicy.h"
#include "signing/timestamps/Timestamp.h"
#include "signing/timestamps/TrustStore.h"

#include <QCryptographicHash>

#include <openssl/err.h>

#include <limits>

namespace velk {

namespace {

const char* const kUnsupported = "CMS imza yapısı desteklenmiyor veya bozuk.";
const char* const kDigestPolicy =
    "GEÇERSİZ: CMS imzacı özet algoritması güvenlik politikasına aykırı; yalnız SHA-256/384/512 kabul edilir.";
const char* const kNotVerified = "Kriptografik imza doğrulanamadı; belge veya imza değiştirilmiş olabilir.";
const char* const kBindingFailed = "CAdES imzasının imzacı sertifika bağı doğrulanamadı.";

// The signer's chain is judged separately, against the chosen anchors; the
// content is the signed bytes exactly, without MIME canonicalisation.
constexpr unsigned int kVerifyFlags = CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY;

// Chains and signatures below 112-bit security are refused.
constexpr int kAuthenticationLevel = 2;

// The Contents value: one SignedData, then only the zero fill.
CmsContentInfoPtr parseContents(const QByteArray& bytes)
{
    const auto* start = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* cursor = start;
    CmsContentInfoPtr cms(d2i_CMS_ContentInfo(nullptr, &cursor, long(bytes.size())));
    if (!cms)
        return {};
    for (const unsigned char* rest = cursor; rest < start + bytes.size(); ++rest) {
        if (*rest != 0)
            return {};
    }
    return cms;
}

// The one SignerInfo of a detached SignedData, or null.
CMS_SignerInfo* soleSignerInfo(CMS_ContentInfo* cms)
{
    if (OBJ_obj2nid(CMS_get0_type(cms)) != NID_pkcs7_signed || CMS_is_detached(cms) != 1)
        return nullptr;
    STACK_OF(CMS_SignerInfo)* signerInfos = CMS_get0_SignerInfos(cms);
    if (signerInfos == nullptr || sk_CMS_SignerInfo_num(signerInfos) != 1)
        return nullptr;
    return sk_CMS_SignerInfo_value(signerInfos, 0);
}

bool acceptedDigest(CMS_SignerInfo* signerInfo)
{
    X509_ALGOR* digest = nullptr;
    CMS_SignerInfo_get0_algs(signerInfo, nullptr, nullptr, &digest, nullptr);
    const int nid = digest != nullptr ? OBJ_obj2nid(digest->algorithm) : NID_undef;
    return nid == NID_sha256 || nid == NID_sha384 || nid == NID_sha512;
}

bool verifyIntegrity(CMS_ContentInfo* cms, const QByteArray& signedBytes)
{
    if (signedBytes.size() > std::numeric_limits<int>::max())
        return false;
    BioPtr content(BIO_new_mem_buf(signedBytes.constData(), int(signedBytes.size())));
    return content && CMS_verify(cms, nullptr, nullptr, content.get(), nullptr, kVerifyFlags) == 1;
}

// The signer certificate found by the verification, or null (not owned by
// the caller beyond the CMS's lifetime: the CMS keeps a reference).
X509* soleSigner(CMS_ContentInfo* cms)
{
    STACK_OF(X509)* signers = CMS_get0_signers(cms);
    X509* signer = signers != nullptr && sk_X509_num(signers) == 1 ? sk_X509_value(signers, 0) : nullptr;
    sk_X509_free(signers);
    return signer;
}

void verifyChain(X509* signer, STACK_OF(X509)* untrusted, const QString& trustPath, SignatureReport& report)
{
    const X509StorePtr store = TrustStore::loadTrustStore(trustPath);
    X509StoreCtxPtr context(X509_STORE_CTX_new());
    if (!store || !context || X509_STORE_CTX_init(context.get(), store.get(), signer, untrusted) != 1)
        return;
    X509_VERIFY_PARAM_set_auth_level(X509_STORE_CTX_get0_param(context.get()), kAuthenticationLevel);
    if (X509_verify_cert(context.get()) != 1)
        return;
    report.chainTrusted = true;
    const STACK_OF(X509)* chain = X509_STORE_CTX_get0_chain(context.get());
    for (int i = 0; i < sk_X509_num(chain); ++i)
        report.chain.append(CertificateDer::encode(sk_X509_value(chain, i)));
}

void checkEmbeddedTimestamp(CMS_SignerInfo* signerInfo, const QString& trustPath, SignatureReport& report)
{
    if (CMS_unsigned_get_attr_by_NID(signerInfo, NID_id_smime_aa_timeStampToken, -1) < 0)
        return;
    report.hasTimestamp = true;
    const QByteArray token = Timestamp::timestampTokenOf(signerInfo);
    const ASN1_OCTET_STRING* signature = CMS_SignerInfo_get0_signature(signerInfo);
    if (token.isEmpty() || signature == nullptr)
        return;
    const QByteArray value(reinterpret_cast<const char*>(ASN1_STRING_get0_data(signature)),
                           ASN1_STRING_length(signature));
    Timestamp::verifyTimestampToken(token, QCryptographicHash::hash(value, QCryptographicHash::Sha256), trustPath,
                                    report);
}

} // namespace

SignatureReport CmsVerification::verifyCmsSignature(const QByteArray& cms, const QByteArray& signedBytes,
                                                    const QString& trustPath, bool requireSigningCertificate)
{
    SignatureReport report = checkSignature(cms, signedBytes, trustPath, requireSigningCertificate);
    // Refusals leave OpenSSL's reasons queued on this thread; the report holds ours.
    ERR_clear_error();
    return report;
}

SignatureReport CmsVerification::checkSignature(const QByteArray& cms, const QByteArray& signedBytes,
                                                const QString& trustPath, bool requireSigningCertificate)
{
    SignatureReport report;
    const CmsContentInfoPtr parsed = parseContents(cms);
    CMS_SignerInfo* signerInfo = parsed ? soleSignerInfo(parsed.get()) : nullptr;
    if (signerInfo == nullptr) {
        report.verdict = QString::fromUtf8(kUnsupported);
        return report;
    }
    // Refused before any cryptography: OpenSSL would verify a SHA-1 signature.
    if (!acceptedDigest(signerInfo)) {
        report.verdict = QString::fromUtf8(kDigestPolicy);
        return report;
    }
    if (!verifyIntegrity(parsed.get(), signedBytes)) {
        report.verdict = QString::fromUtf8(kNotVerified);
        return report;
    }
    report.integrityValid = true;
    X509* signer = soleSigner(parsed.get());
    report.signerName = signer != nullptr ? certificateDisplayName(CertificateDer::encode(signer)) : QString();
    report.signerCertificate = CertificateDer::encode(signer);
    report.purposeValid = CertificatePolicy::checkSigningPurpose(signer);
    const X509StackPtr certificates(CMS_get1_certs(parsed.get()));
    if (requireSigningCertificate && !SignerAttributes::bindsSigner(signerInfo, signer, certificates.get())) {
        report.integrityValid = false;
        report.verdict = QString::fromUtf8(kBindingFailed);
        return report;
    }
    for (int i = 0; i < sk_X509_num(certificates.get()); ++i)
        report.certificates.append(CertificateDer::encode(sk_X509_value(certificates.get(), i)));
    if (signer != nullptr)
        verifyChain(signer, certificates.get(), trustPath, report);
    report.declaredSigningTime = SignerAttributes::declaredSigningTime(signerInfo);
    checkEmbeddedTimestamp(signerInfo, trustPath, report);
    CertificatePolicy::checkNesProfile(report);
    report.verdict = SignatureReport::verdictSentence(report);
    return report;
}

} // namespace velk
