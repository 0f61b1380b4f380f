#pragma once

// The certificate listing: every certificate with a value, an id and a
// name on every token that can be opened, with the token's label and PIN
// flags. A slot that cannot be read (an uninitialised token, a blank card)
// is skipped; only when none could be read does its failure become the
// reply.

#include "signing/TokenWorker/TokenSession.h"

#include <QJsonObject>

#include <vector>

namespace velk {

class TokenListing {
public:
    static QJsonObject list(TokenSession& session, const std::vector<CK_SLOT_ID>& slots);

    // The token label: UTF-8, or Latin-1 when the bytes are not UTF-8;
    // surrounding white space removed.
    static QString tokenLabel(const CK_TOKEN_INFO& info);
};

} // namespace velk
