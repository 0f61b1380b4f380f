#pragma once

// Owning handles for OpenSSL objects: each is wrapped in the statement that
// acquires it, so no error branch repeats clean-up code.

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/ocsp.h>
#include <openssl/pkcs7.h>
#include <openssl/ts.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <memory>

namespace velk {

namespace openssl_detail {
template <auto FreeFunction>
struct Deleter {
    template <typename T>
    void operator()(T* handle) const
    {
        if (handle != nullptr)
            FreeFunction(handle);
    }
};
} // namespace openssl_detail

template <typename T, auto FreeFunction>
using OpenSslHandle = std::unique_ptr<T, openssl_detail::Deleter<FreeFunction>>;

using BioPtr = OpenSslHandle<BIO, BIO_free_all>;
using X509Ptr = OpenSslHandle<X509, X509_free>;
using X509CrlPtr = OpenSslHandle<X509_CRL, X509_CRL_free>;
using X509StorePtr = OpenSslHandle<X509_STORE, X509_STORE_free>;
using X509StoreCtxPtr = OpenSslHandle<X509_STORE_CTX, X509_STORE_CTX_free>;
using EvpPkeyPtr = OpenSslHandle<EVP_PKEY, EVP_PKEY_free>;
using EvpPkeyCtxPtr = OpenSslHandle<EVP_PKEY_CTX, EVP_PKEY_CTX_free>;
using EvpMdCtxPtr = OpenSslHandle<EVP_MD_CTX, EVP_MD_CTX_free>;
using EvpCipherCtxPtr = OpenSslHandle<EVP_CIPHER_CTX, EVP_CIPHER_CTX_free>;
using CmsContentInfoPtr = OpenSslHandle<CMS_ContentInfo, CMS_ContentInfo_free>;
using OcspRequestPtr = OpenSslHandle<OCSP_REQUEST, OCSP_REQUEST_free>;
using OcspResponsePtr = OpenSslHandle<OCSP_RESPONSE, OCSP_RESPONSE_free>;
using OcspBasicResponsePtr = OpenSslHandle<OCSP_BASICRESP, OCSP_BASICRESP_free>;
using OcspCertIdPtr = OpenSslHandle<OCSP_CERTID, OCSP_CERTID_free>;
using TsRequestPtr = OpenSslHandle<TS_REQ, TS_REQ_free>;
using TsResponsePtr = OpenSslHandle<TS_RESP, TS_RESP_free>;
using TsTokenInfoPtr = OpenSslHandle<TS_TST_INFO, TS_TST_INFO_free>;
using TsVerifyContextPtr = OpenSslHandle<TS_VERIFY_CTX, TS_VERIFY_CTX_free>;
using Asn1IntegerPtr = OpenSslHandle<ASN1_INTEGER, ASN1_INTEGER_free>;
using Asn1OctetStringPtr = OpenSslHandle<ASN1_OCTET_STRING, ASN1_OCTET_STRING_free>;
using Pkcs7Ptr = OpenSslHandle<PKCS7, PKCS7_free>;
using Asn1TimePtr = OpenSslHandle<ASN1_TIME, ASN1_TIME_free>;

// A stack of certificates that owns them: pops and frees each one.
struct X509StackDeleter {
    void operator()(STACK_OF(X509) * stack) const
    {
        if (stack != nullptr)
            sk_X509_pop_free(stack, X509_free);
    }
};
using X509StackPtr = std::unique_ptr<STACK_OF(X509), X509StackDeleter>;

} // namespace velk
