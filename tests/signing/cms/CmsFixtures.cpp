#include "CmsFixtures.h"

#include "signing/cms/DerEncoding.h"
#include "support/SignedPdfFixtures.h"
#include "worker/contract/OpenSslHandles.h"

#include <QFile>

#include <openssl/ess.h>
#include <openssl/pem.h>

namespace velk::test {

namespace {

X509Ptr readCertificate(const TestCertificate& certificate)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(certificate.der.constData());
    return X509Ptr(d2i_X509(nullptr, &cursor, long(certificate.der.size())));
}

EvpPkeyPtr readKey(const TestCertificate& certificate)
{
    const QByteArray pem = readFile(certificate.keyPath);
    BioPtr bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    return EvpPkeyPtr(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
}

QByteArray encodeCms(CMS_ContentInfo* cms)
{
    return DerEncoding::encode<CMS_ContentInfo, i2d_CMS_ContentInfo>(cms);
}

CmsContentInfoPtr decodeCms(const QByteArray& bytes)
{
    const auto* cursor = reinterpret_cast<const unsigned char*>(bytes.constData());
    return CmsContentInfoPtr(d2i_CMS_ContentInfo(nullptr, &cursor, long(bytes.size())));
}

bool addBinding(CMS_SignerInfo* signerInfo, X509* signer, X509* ca, EssBinding binding)
{
    X509StackPtr others(sk_X509_new_null());
    X509* first = binding == EssBinding::CaFirst ? ca : signer;
    X509* second = binding == EssBinding::CaFirst ? signer : ca;
    if (!others || !sk_X509_push(others.get(), second))
        return false;
    X509_up_ref(second);
    unsigned char* der = nullptr;
    int length = -1;
    int nid = NID_id_smime_aa_signingCertificateV2;
    if (binding == EssBinding::VersionOne) {
        ESS_SIGNING_CERT* v1 = OSSL_ESS_signing_cert_new_init(signer, nullptr, 1);
        length = v1 != nullptr ? i2d_ESS_SIGNING_CERT(v1, &der) : -1;
        ESS_SIGNING_CERT_free(v1);
        nid = NID_id_smime_aa_signingCertificate;
    } else {
        ESS_SIGNING_CERT_V2* v2 = OSSL_ESS_signing_cert_v2_new_init(EVP_sha256(), first, others.get(), 1);
        length = v2 != nullptr ? i2d_ESS_SIGNING_CERT_V2(v2, &der) : -1;
        ESS_SIGNING_CERT_V2_free(v2);
    }
    const bool added = length > 0 && CMS_signed_add1_attr_by_NID(signerInfo, nid, V_ASN1_SEQUENCE, der, length) == 1;
    OPENSSL_free(der);
    return added;
}

} // namespace

QByteArray opensslCms(TestPki& pki, const TestCertificate& signer, const QByteArray& data, const QStringList& options)
{
    const QString in = pki.directory() + QStringLiteral("/cms-data.bin");
    const QString out = pki.directory() + QStringLiteral("/cms-signature.der");
    QFile::remove(out);
    if (!writeFile(in, data))
        return {};
    const QStringList arguments = QStringList{"cms", "-sign", "-binary", "-outform", "DER", "-signer",
                                              signer.certificatePath, "-inkey", signer.keyPath, "-in", in, "-out",
                                              out}
        + options;
    return pki.openssl(arguments) ? readFile(out) : QByteArray();
}

QByteArray addSecondSigner(TestPki& pki, const QByteArray& cms, const TestCertificate& signer)
{
    const QString in = pki.directory() + QStringLiteral("/cms-resign-in.der");
    const QString out = pki.directory() + QStringLiteral("/cms-resign-out.der");
    QFile::remove(out);
    if (!writeFile(in, cms))
        return {};
    return pki.openssl({"cms", "-resign", "-binary", "-inform", "DER", "-outform", "DER", "-in", in, "-signer",
                        signer.certificatePath, "-inkey", signer.keyPath, "-md", "sha256", "-out", out})
        ? readFile(out)
        : QByteArray();
}

QByteArray cmsWithBinding(const TestCertificate& signer, const TestCertificate& ca, const QByteArray& data,
                          EssBinding binding)
{
    X509Ptr signerCertificate = readCertificate(signer);
    X509Ptr caCertificate = readCertificate(ca);
    EvpPkeyPtr key = readKey(signer);
    constexpr unsigned int flags = CMS_PARTIAL | CMS_DETACHED | CMS_BINARY;
    CmsContentInfoPtr cms(CMS_sign(nullptr, nullptr, nullptr, nullptr, flags));
    if (!signerCertificate || !caCertificate || !key || !cms)
        return {};
    CMS_SignerInfo* signerInfo = CMS_add1_signer(cms.get(), signerCertificate.get(), key.get(), EVP_sha256(), flags);
    if (signerInfo == nullptr || CMS_add1_cert(cms.get(), caCertificate.get()) != 1)
        return {};
    if (binding != EssBinding::None
        && !addBinding(signerInfo, signerCertificate.get(), caCertificate.get(), binding))
        return {};
    BioPtr content(BIO_new_mem_buf(data.constData(), int(data.size())));
    if (!content || CMS_final(cms.get(), content.get(), nullptr, flags) != 1)
        return {};
    return encodeCms(cms.get());
}

QByteArray withTimestampAttribute(const QByteArray& cms, const QByteArray& token)
{
    CmsContentInfoPtr parsed = decodeCms(cms);
    STACK_OF(CMS_SignerInfo)* signerInfos = parsed ? CMS_get0_SignerInfos(parsed.get()) : nullptr;
    if (signerInfos == nullptr || sk_CMS_SignerInfo_num(signerInfos) != 1)
        return {};
    if (CMS_unsigned_add1_attr_by_NID(sk_CMS_SignerInfo_value(signerInfos, 0), NID_id_smime_aa_timeStampToken,
                                      V_ASN1_SEQUENCE, token.constData(), int(token.size()))
        != 1)
        return {};
    return encodeCms(parsed.get());
}

QByteArray signWithKey(const QString& keyPath, const QByteArray& data)
{
    const QByteArray pem = readFile(keyPath);
    BioPtr bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    EvpPkeyPtr key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
    EvpMdCtxPtr context(EVP_MD_CTX_new());
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    size_t length = 0;
    if (!key || !context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1
        || EVP_DigestSign(context.get(), nullptr, &length, bytes, size_t(data.size())) != 1)
        return {};
    QByteArray signature(qsizetype(length), '\0');
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length, bytes,
                       size_t(data.size()))
        != 1)
        return {};
    signature.resize(qsizetype(length));
    return signature;
}

QByteArray cmsSignatureValue(const QByteArray& cms)
{
    CmsContentInfoPtr parsed = decodeCms(cms);
    STACK_OF(CMS_SignerInfo)* signerInfos = parsed ? CMS_get0_SignerInfos(parsed.get()) : nullptr;
    if (signerInfos == nullptr || sk_CMS_SignerInfo_num(signerInfos) < 1)
        return {};
    const ASN1_OCTET_STRING* value = CMS_SignerInfo_get0_signature(sk_CMS_SignerInfo_value(signerInfos, 0));
    return QByteArray(reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)), ASN1_STRING_length(value));
}

} // namespace velk::test
