#pragma once

// The secure store's one operation per run: read, write or clear the sealed
// record of one account of the current user. Called by the program entry
// with the parsed request; answers the reply object (never throws). Every
// buffer that held record bytes, plain or sealed, is wiped before it goes.

#include "worker/contract/SecretBytes.h"

#include <QJsonObject>
#include <QString>

namespace velk {

class SecureStore {
public:
    static QJsonObject handleStoreRequest(const QJsonObject& request);

private:
    static QJsonObject readRecord(const QString& directory, const QString& account);
    static QJsonObject writeRecord(const QString& directory, const QString& account, const SecretBytes& plain);
    static QJsonObject clearRecord(const QString& directory, const QString& account);
};

} // namespace velk
