#include "signing/cms/SignerAttributes.h"

#include "signing/timestamps/AsnTime.h"
#include "worker/contract/OpenSslHandles.h"

#include <openssl/ess.h>

namespace velk {

namespace {

using EssSigningCertV2Ptr = OpenSslHandle<ESS_SIGNING_CERT_V2, ESS_SIGNING_CERT_V2_free>;

// The single value of the single signed attribute with this NID, or null.
const ASN1_TYPE* singleSignedValue(CMS_SignerInfo* signerInfo, int nid)
{
    const int index = CMS_signed_get_attr_by_NID(signerInfo, nid, -1);
    if (index < 0 || CMS_signed_get_attr_by_NID(signerInfo, nid, index) >= 0)
        return nullptr;
    X509_ATTRIBUTE* attribute = CMS_signed_get_attr(signerInfo, index);
    if (attribute == nullptr || X509_ATTRIBUTE_count(attribute) != 1)
        return nullptr;
    return X509_ATTRIBUTE_get0_type(attribute, 0);
}

EssSigningCertV2Ptr parseSigningCertificate(const ASN1_TYPE* value)
{
    if (value == nullptr || value->type != V_ASN1_SEQUENCE || value->value.sequence == nullptr)
        return {};
    const ASN1_STRING* bytes = value->value.sequence;
    const unsigned char* start = ASN1_STRING_get0_data(bytes);
    const unsigned char* cursor = start;
    EssSigningCertV2Ptr parsed(d2i_ESS_SIGNING_CERT_V2(nullptr, &cursor, ASN1_STRING_length(bytes)));
    if (!parsed || cursor != start + ASN1_STRING_length(bytes))
        return {};
    return parsed;
}

} // namespace

bool SignerAttributes::bindsSigner(CMS_SignerInfo* signerInfo, X509* signer, STACK_OF(X509)* cmsCertificates)
{
    const EssSigningCertV2Ptr binding =
        parseSigningCertificate(singleSignedValue(signerInfo, NID_id_smime_aa_signingCertificateV2));
    if (!binding || signer == nullptr)
        return false;
    // The signer first, so only a list that names it first can match; then
    // every certificate of the CMS, which a valid list may also name.
    X509StackPtr chain(sk_X509_new_null());
    if (!chain || !sk_X509_push(chain.get(), signer))
        return false;
    X509_up_ref(signer);
    for (int i = 0; i < sk_X509_num(cmsCertificates); ++i) {
        X509* certificate = sk_X509_value(cmsCertificates, i);
        if (!sk_X509_push(chain.get(), certificate))
            return false;
        X509_up_ref(certificate);
    }
    return OSSL_ESS_check_signing_certs(nullptr, binding.get(), chain.get(), 1) == 1;
}

QString SignerAttributes::declaredSigningTime(CMS_SignerInfo* signerInfo)
{
    const ASN1_TYPE* value = singleSignedValue(signerInfo, NID_pkcs9_signingTime);
    if (value == nullptr || (value->type != V_ASN1_UTCTIME && value->type != V_ASN1_GENERALIZEDTIME))
        return {};
    return AsnTime::isoTime(value->value.asn1_string);
}

} // namespace velk
