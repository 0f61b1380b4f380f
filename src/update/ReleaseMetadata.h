#pragma once

// Verification of a signed release description: an envelope holding a
// payload and its Ed25519 signature, checked against the build's trust
// anchor (public key and channel address), the running program's version
// and platform, the anti-rollback floor and the current time. A pure
// function of its inputs (no network, files or clock of its own), called
// again before every later step that relies on the description. Safe on
// any thread.

#include "update/ReleaseInfo.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

namespace velk {

ReleaseInfo verifyReleaseMetadata(const QByteArray& publicKey, const QByteArray& envelope,
                                  const QString& installedVersion, const QString& platform,
                                  const QString& channelAddress, const UpdateFloor& floor, qint64 now);

// The bytes of unpadded base64url text; empty when the value is not a
// string, holds a character outside the alphabet, carries padding, or does
// not re-encode to exactly the same text.
QByteArray decodeStrictBase64Url(const QJsonValue& value);

} // namespace velk
