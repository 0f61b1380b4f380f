#pragma once

// The signer closure handed to the signature builder: it signs the DER of
// the signed attributes on the token through one token-worker run. The
// data never leaves velk-pdf: only its SHA-256 goes to the worker. Also
// the listing request of the dialog's scan. Called on a pool thread.

#include "signing/token/SigningIdentity.h"
#include "worker/contract/SecretBytes.h"
#include "worker/runner/CancelFlag.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace velk {

// (data to be signed, error text) -> signature bytes; empty bytes with the
// error text set on failure.
using TokenSignFunction = std::function<QByteArray(const QByteArray& data, QString& error)>;

class TokenSigner {
public:
    // The signer for one signing; it keeps a reference to the PIN until it
    // goes. An empty applicationDirectory means the running program's own.
    static TokenSignFunction make(const SigningIdentity& identity, const CancelFlag& cancel,
                                  const SecretBytesPtr& pin, const QString& applicationDirectory = QString());

    static QJsonObject signRequest(const SigningIdentity& identity, const QByteArray& data);
    static QJsonObject listRequest(const QString& modulePath, const QByteArray& moduleHash);
};

} // namespace velk
