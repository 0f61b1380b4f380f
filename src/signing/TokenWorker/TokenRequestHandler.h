#pragma once

// handleTokenRequest: admits the driver, starts the library, finds the
// slots with a token, then lists or signs. Everything the driver holds is
// unwound before this returns; the PIN is wiped on every path.

#include <QByteArray>
#include <QJsonObject>

namespace velk {

class TokenRequestHandler {
public:
    static QJsonObject handle(const QJsonObject& request, QByteArray& pin);
};

} // namespace velk
