#include "signing/cms/SignedDataEncoder.h"

#include "signing/cms/DerEncoding.h"
#include "signing/certificates/CertificateDer.h"

#include <openssl/evp.h>

namespace velk {

namespace {

constexpr unsigned char kInteger = 0x02;
constexpr unsigned char kOctetString = 0x04;
constexpr unsigned char kSequence = 0x30;
constexpr unsigned char kSet = 0x31;
constexpr unsigned char kContextZero = 0xA0;

const char* const kSignedData = "1.2.840.113549.1.7.2";
const char* const kData = "1.2.840.113549.1.7.1";
const char* const kSha256 = "2.16.840.1.101.3.4.2.1";
const char* const kRsaEncryption = "1.2.840.113549.1.1.1";
const char* const kEcdsaWithSha256 = "1.2.840.10045.4.3.2";

const QByteArray kVersionOne = QByteArray::fromHex("020101");
const QByteArray kNull = QByteArray::fromHex("0500");

QByteArray digestAlgorithm()
{
    return DerEncoding::derTlv(kSequence, DerEncoding::derOid(QLatin1String(kSha256)) + kNull);
}

QByteArray signatureAlgorithm(X509* certificate)
{
    if (EVP_PKEY_is_a(X509_get0_pubkey(certificate), "EC"))
        return DerEncoding::derTlv(kSequence, DerEncoding::derOid(QLatin1String(kEcdsaWithSha256)));
    return DerEncoding::derTlv(kSequence, DerEncoding::derOid(QLatin1String(kRsaEncryption)) + kNull);
}

} // namespace

QByteArray SignedDataEncoder::encode(X509* certificate, const QByteArray& signedAttributes,
                                     const QByteArray& signature)
{
    const QByteArray issuer = DerEncoding::encode<X509_NAME, i2d_X509_NAME>(X509_get_issuer_name(certificate));
    const QByteArray serial = DerEncoding::encode<ASN1_INTEGER, i2d_ASN1_INTEGER>(X509_get0_serialNumber(certificate));
    const QByteArray certificateDer = CertificateDer::encode(certificate);
    if (issuer.isEmpty() || serial.isEmpty() || certificateDer.isEmpty())
        return {};
    const QByteArray signerInfo = DerEncoding::derTlv(
        kSequence, kVersionOne + DerEncoding::derTlv(kSequence, issuer + serial) + digestAlgorithm()
                       + DerEncoding::derTlv(kContextZero, signedAttributes) + signatureAlgorithm(certificate)
                       + DerEncoding::derTlv(kOctetString, signature));
    const QByteArray signedData = DerEncoding::derTlv(
        kSequence, kVersionOne + DerEncoding::derTlv(kSet, digestAlgorithm())
                       + DerEncoding::derTlv(kSequence, DerEncoding::derOid(QLatin1String(kData)))
                       + DerEncoding::derTlv(kContextZero, certificateDer) + DerEncoding::derTlv(kSet, signerInfo));
    return DerEncoding::derTlv(kSequence, DerEncoding::derOid(QLatin1String(kSignedData))
                                              + DerEncoding::derTlv(kContextZero, signedData));
}

} // namespace velk
