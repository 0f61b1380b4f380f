#pragma once

// The anti-rollback position and the result of verifying a signed release
// description. Plain values, copied between the GUI thread and pool tasks.

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QtGlobal>

namespace velk {

// The last accepted release position: its sequence, the latest time it was
// confirmed, and the SHA-256 (lower-case hexadecimal) of its payload.
struct UpdateFloor {
    qint64 sequence = 0;
    qint64 highWater = 0;
    QByteArray manifestHash;
};

struct ReleaseInfo {
    QString version;
    QString platform;
    QString format;
    qint64 sequence = 0;
    qint64 issuedAt = 0;
    qint64 expiresAt = 0;
    qint64 size = 0;
    // The package's SHA-256 as the payload states it: 64 lower-case
    // hexadecimal digits.
    QByteArray sha256;
    // SHA-256 of the payload's bytes, lower-case hexadecimal.
    QByteArray manifestHash;
    QUrl packageUrl;
    // Empty on success; otherwise the reason, and every other field is empty.
    QString error;
    bool upToDate = false;
};

} // namespace velk
