#pragma once

// The qualified-certificate statements of a certificate (RFC 3739
// qcStatements) as far as the Turkish qualified-certificate profile needs
// them: compliance, the statement required by Electronic Signature Law
// No. 5070 and the certificate type. Strict: one extension, bounded
// statement count, no repeated statement, every element decoded completely.
// Pure; any thread.

#include <openssl/x509.h>

#include <optional>

namespace velk {

// A certificate carries at most this many statements.
inline constexpr int kMaxQcStatements = 64;

struct QcStatementFacts {
    bool compliance = false;      // QcCompliance without parameter
    bool turkishStatement = false; // the 5070 text, after normalisation
    bool esignKept = true;        // no QcType, or exactly the e-signature type
};

class QcStatements {
public:
    // Empty when the extension is missing, repeated or malformed, or a
    // statement is malformed or repeated.
    static std::optional<QcStatementFacts> read(X509* certificate);
};

} // namespace velk
