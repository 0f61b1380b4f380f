#pragma once

// Our detached CAdES signature for a PDF: the signed attributes over the
// document digest, signed by the token through a TokenSignFunction (only
// the attributes' digest reaches the token worker, never the document),
// checked against the certificate and encoded as a SignedData; then
// completed with the user's trust chain and a signature time stamp. Runs on
// the signing pool thread.

#include "signing/network/EvidenceFetchContext.h"
#include "signing/pipeline/SignatureOptions.h"
#include "signing/token/TokenSignFunction.h"

#include <QByteArray>
#include <QString>

namespace velk {

// The trust chain file of the signing options is read up to this size and
// this many certificates.
inline constexpr qint64 kMaxTrustChainBytes = 4194304;
inline constexpr int kMaxTrustChainCertificates = 32;

class CmsSignature {
public:
    // DER of the SignedData over the 32-byte SHA-256 document digest; empty
    // with `error` set to a Turkish sentence on failure. The token is asked
    // once, and only after the certificate passed every check.
    static QByteArray buildCmsSignature(const QByteArray& documentDigest, const QByteArray& certificateDer,
                                        const TokenSignFunction& sign, QString& error);

    // The SignedData with the options' trust chain added to its
    // certificates and, when a time-stamp authority is set, a signature
    // time stamp as unsigned attribute; the signed attributes are never
    // touched. Empty with `error` set on failure.
    static QByteArray completeCmsSignature(const QByteArray& cms, const SignatureOptions& options,
                                           EvidenceFetchContext& context, QString& error);
};

} // namespace velk
