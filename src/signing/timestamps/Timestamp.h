#pragma once

// RFC 3161 time stamps: obtaining one for a 32-byte SHA-256 imprint (the
// signature value, or a document digest) from a time-stamp authority, and
// the offline checks verification applies to every token it meets. Only the
// imprint is ever sent. Runs on the signing or verification pool thread.

#include "signing/network/EvidenceFetchContext.h"
#include "signing/verification/SignatureReport.h"

#include <QByteArray>
#include <QString>

#include <openssl/cms.h>

namespace velk {

// Allowed distance between a token's genTime and the local clock.
inline constexpr qint64 kTimestampSkewSeconds = 300;

class Timestamp {
public:
    // The token (a ContentInfo of SignedData) as DER; empty with `error` set
    // to a Turkish sentence on failure. Never retried.
    static QByteArray requestTimestamp(const QByteArray& imprint, const QString& tsaUrl, const QString& trustPath,
                                       EvidenceFetchContext& context, QString& error);

    // Checks a token (zero bytes may follow it) against the expected imprint,
    // with its chain judged at genTime; fills the report's time-stamp fields
    // and, when the report has no signer yet, the token's signer.
    static bool verifyTimestampToken(const QByteArray& token, const QByteArray& imprint, const QString& trustPath,
                                     SignatureReport& report);

    // The DER of the single id-aa-timeStampToken unsigned attribute, or empty.
    static QByteArray timestampTokenOf(CMS_SignerInfo* signerInfo);

    // The token's signer certificate and carried certificates; with isToken
    // false the bytes are a CMS whose time-stamp attribute is taken first.
    static void inspectTimestampToken(const QByteArray& bytes, bool isToken, SignatureReport& report);
};

} // namespace velk
