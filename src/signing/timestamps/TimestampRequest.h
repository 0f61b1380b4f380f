#pragma once

// The RFC 3161 request sent for one 32-byte SHA-256 imprint: version 1, the
// imprint with SHA-256 and an explicit NULL parameter, a 16-byte random
// nonce, certReq, no policy and no extensions.

#include "worker/contract/OpenSslHandles.h"

#include <QByteArray>

namespace velk {

inline constexpr int kImprintBytes = 32;
inline constexpr int kTimestampNonceBytes = 16;

class TimestampRequest {
public:
    // Null when the imprint is not 32 bytes or no random nonce could be made.
    static TsRequestPtr buildTimestampRequest(const QByteArray& imprint);
    static QByteArray encode(TS_REQ* request);
};

} // namespace velk
