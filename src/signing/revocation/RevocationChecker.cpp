#include "signing/revocation/RevocationChecker.h"

#include "signing/certificates/CertificateDer.h"
#include "signing/revocation/CertificateStatus.h"
#include "signing/revocation/IssuerFetcher.h"
#include "signing/revocation/RevocationLimits.h"
#include "signing/revocation/RevocationRun.h"
#include "signing/certificates/CertificatePolicy.h"
#include "signing/timestamps/TrustStore.h"

#include <openssl/x509v3.h>

namespace velk {

namespace {

using namespace revocation;

const char* const kLoopOrLimit = "Kanıt zinciri döngüsü/sınırı; BELİRSİZ.";
const char* const kNoChain = "Güvenilir sertifika zinciri bulunamadı; BELİRSİZ.";
const char* const kNeedsIssuer = "İptal denetimi için ayrı güvenilir sertifika yayıncısı gerekli; BELİRSİZ.";
const char* const kRevokedPrefix = "Sertifika zincirinde iptal kaydı: ";
const char* const kNothingFound = "Güncel/doğrulanabilir OCSP veya CRL bulunamadı";

// Verifies the signer, fetching a missing issuer after each failure.
X509StackPtr buildChain(RevocationRun& run, X509* signer)
{
    for (int attempt = 0; attempt < kMaxChainAttempts; ++attempt) {
        X509StoreCtxPtr context(X509_STORE_CTX_new());
        if (!context || X509_STORE_CTX_init(context.get(), run.store, signer, run.untrusted) != 1)
            return {};
        if (X509_verify_cert(context.get()) == 1)
            return X509StackPtr(X509_STORE_CTX_get1_chain(context.get()));
        X509* stopped = X509_STORE_CTX_get_current_cert(context.get());
        if (stopped == nullptr
            || !IssuerFetcher::fetchIssuer(stopped, run.report, run.untrusted, run.context, &run.lastFetchError))
            return {};
    }
    return {};
}

bool isChainCertificate(STACK_OF(X509) * chain, X509* certificate)
{
    for (int i = 0; i < sk_X509_num(chain); ++i) {
        if (X509_cmp(sk_X509_value(chain, i), certificate) == 0)
            return true;
    }
    return false;
}

// Exactly one id-pkix-ocsp-nocheck extension, holding NULL.
bool hasNoCheck(X509* responder)
{
    const int index = X509_get_ext_by_NID(responder, NID_id_pkix_OCSP_noCheck, -1);
    if (index < 0 || X509_get_ext_by_NID(responder, NID_id_pkix_OCSP_noCheck, index) >= 0)
        return false;
    const ASN1_OCTET_STRING* value = X509_EXTENSION_get_data(X509_get_ext(responder, index));
    return ASN1_STRING_length(value) == 2 && ASN1_STRING_get0_data(value)[0] == 0x05
           && ASN1_STRING_get0_data(value)[1] == 0x00;
}

OcspBasicResponsePtr basicOf(const QByteArray& der)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(der.constData());
    OcspResponsePtr response(d2i_OCSP_RESPONSE(nullptr, &cursor, long(der.size())));
    return OcspBasicResponsePtr(response ? OCSP_response_get1_basic(response.get()) : nullptr);
}

// A responder that is neither in the chain nor exempt gets its own check.
bool responderIsGood(RevocationRun& run, X509* responder)
{
    if (isChainCertificate(run.chain, responder) || hasNoCheck(responder))
        return true;
    SignatureReport sub;
    sub.signerCertificate = CertificateDer::encode(responder);
    sub.certificates = run.report.certificates;
    sub.ocspResponses = run.knownOcsp;
    sub.crls = run.knownCrls;
    RevocationChecker::checkRevocation(sub, run.trustPath, run.context, run.depth + 1, run.referenceTime,
                                       run.allowEarlier);
    if (sub.revocationStatus != kStatusGood) {
        run.notes.append(QString::fromUtf8("OCSP yanıtlayıcısı: ") + sub.revocationText);
        return false;
    }
    run.report.certificates += sub.certificates;
    run.report.ocspResponses += sub.ocspResponses;
    run.report.crls += sub.crls;
    return true;
}

void checkResponders(RevocationRun& run)
{
    const QList<QByteArray> responses = run.report.ocspResponses;
    for (const QByteArray& response : responses) {
        OcspBasicResponsePtr basic = basicOf(response);
        X509* signer = nullptr;
        if (!basic || OCSP_resp_get0_signer(basic.get(), &signer, run.chain) != 1 || signer == nullptr) {
            run.incomplete = true;
            continue;
        }
        const STACK_OF(X509)* carried = OCSP_resp_get0_certs(basic.get());
        for (int i = 0; i < sk_X509_num(carried) && i < kMaxResponderCertificates; ++i)
            CertificateDer::appendDistinct(run.report.certificates, CertificateDer::encode(sk_X509_value(carried, i)));
        if (!responderIsGood(run, signer))
            run.incomplete = true;
    }
}

X509StackPtr untrustedOf(const SignatureReport& report)
{
    X509StackPtr untrusted(sk_X509_new_null());
    for (const QByteArray& der : report.certificates) {
        X509Ptr certificate = CertificateDer::parse(der);
        if (certificate && untrusted && sk_X509_push(untrusted.get(), certificate.get()) > 0)
            certificate.release();
    }
    return untrusted;
}

// Steps through the chain, signer first; false when a certificate is revoked.
bool checkChainStatus(RevocationRun& run)
{
    for (int i = 0; i + 1 < sk_X509_num(run.chain); ++i) {
        const int status = CertificateStatus::statusOf(run, sk_X509_value(run.chain, i), sk_X509_value(run.chain, i + 1));
        if (status == kStatusRevoked) {
            run.report.revocationStatus = kStatusRevoked;
            run.report.revocationText = QString::fromUtf8(kRevokedPrefix) + run.notes.join(QStringLiteral(", "));
            return false;
        }
        if (status == kStatusUndetermined) {
            run.incomplete = true;
            run.notes.append(run.lastFetchError.isEmpty() ? QString::fromUtf8(kNothingFound) : run.lastFetchError);
        }
    }
    return true;
}

} // namespace

void RevocationChecker::checkRevocation(SignatureReport& report, const QString& trustPath,
                                        EvidenceFetchContext& context, int depth, const QDateTime& referenceTime,
                                        bool allowEarlier)
{
    report.revocationStatus = kStatusUndetermined;
    report.chainTrusted = false;
    report.chain.clear();
    if (depth > kMaxDepth || report.certificates.size() > kMaxReportCertificates) {
        report.revocationText = QString::fromUtf8(kLoopOrLimit);
        return;
    }
    X509Ptr signer = CertificateDer::parse(report.signerCertificate);
    X509StorePtr store = TrustStore::loadTrustStore(trustPath);
    report.purposeValid = CertificatePolicy::checkSigningPurpose(signer.get());
    if (store && referenceTime.isValid())
        X509_VERIFY_PARAM_set_time(X509_STORE_get0_param(store.get()), time_t(referenceTime.toSecsSinceEpoch()));
    X509StackPtr untrusted = untrustedOf(report);
    RevocationRun run{report, context};
    run.trustPath = trustPath;
    run.depth = depth;
    run.referenceTime = referenceTime;
    run.allowEarlier = allowEarlier;
    run.store = store.get();
    run.untrusted = untrusted.get();
    X509StackPtr chain = signer && store && untrusted ? buildChain(run, signer.get()) : X509StackPtr();
    if (!chain) {
        report.revocationText = QString::fromUtf8(kNoChain);
        return;
    }
    run.chain = chain.get();
    report.chainTrusted = true;
    for (int i = 0; i < sk_X509_num(chain.get()); ++i)
        report.chain.append(CertificateDer::encode(sk_X509_value(chain.get(), i)));
    if (report.chain.size() < kMinChainLength || report.chain.size() > kMaxChainLength) {
        report.revocationText = QString::fromUtf8(kNeedsIssuer);
        return;
    }
    for (const QByteArray& der : std::as_const(report.chain))
        CertificateDer::appendDistinct(report.certificates, der);
    run.knownOcsp = std::exchange(report.ocspResponses, {});
    run.knownCrls = std::exchange(report.crls, {});
    if (!checkChainStatus(run))
        return;
    checkResponders(run);
    report.revocationStatus = run.incomplete ? kStatusUndetermined : kStatusGood;
    report.revocationText = run.notes.join(QStringLiteral("; "));
}

} // namespace velk
