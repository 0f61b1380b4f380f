#include "signing/timestamps/TimestampRequest.h"

#include <openssl/bn.h>
#include <openssl/rand.h>

#include <array>

namespace velk {

namespace {

using BignumPtr = OpenSslHandle<BIGNUM, BN_free>;
using MessageImprintPtr = OpenSslHandle<TS_MSG_IMPRINT, TS_MSG_IMPRINT_free>;
using AlgorithmPtr = OpenSslHandle<X509_ALGOR, X509_ALGOR_free>;

// A positive INTEGER from 16 random bytes read as a big-endian number.
Asn1IntegerPtr randomNonce()
{
    std::array<unsigned char, kTimestampNonceBytes> bytes{};
    if (RAND_bytes(bytes.data(), int(bytes.size())) != 1)
        return {};
    BignumPtr number(BN_bin2bn(bytes.data(), int(bytes.size()), nullptr));
    if (!number)
        return {};
    return Asn1IntegerPtr(BN_to_ASN1_INTEGER(number.get(), nullptr));
}

MessageImprintPtr sha256Imprint(const QByteArray& imprint)
{
    MessageImprintPtr message(TS_MSG_IMPRINT_new());
    AlgorithmPtr algorithm(X509_ALGOR_new());
    if (!message || !algorithm
        || X509_ALGOR_set0(algorithm.get(), OBJ_nid2obj(NID_sha256), V_ASN1_NULL, nullptr) != 1
        || TS_MSG_IMPRINT_set_algo(message.get(), algorithm.get()) != 1
        || TS_MSG_IMPRINT_set_msg(message.get(), reinterpret_cast<unsigned char*>(const_cast<char*>(imprint.constData())),
                                  int(imprint.size()))
               != 1)
        return {};
    return message;
}

} // namespace

TsRequestPtr TimestampRequest::buildTimestampRequest(const QByteArray& imprint)
{
    if (imprint.size() != kImprintBytes)
        return {};
    Asn1IntegerPtr nonce = randomNonce();
    MessageImprintPtr message = sha256Imprint(imprint);
    TsRequestPtr request(TS_REQ_new());
    if (!nonce || !message || !request || TS_REQ_set_version(request.get(), 1) != 1
        || TS_REQ_set_msg_imprint(request.get(), message.get()) != 1
        || TS_REQ_set_nonce(request.get(), nonce.get()) != 1 || TS_REQ_set_cert_req(request.get(), 1) != 1)
        return {};
    return request;
}

QByteArray TimestampRequest::encode(TS_REQ* request)
{
    unsigned char* der = nullptr;
    const int length = i2d_TS_REQ(request, &der);
    if (length <= 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char*>(der), length);
    OPENSSL_free(der);
    return bytes;
}

} // namespace velk
