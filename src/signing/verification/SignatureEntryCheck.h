#pragma once

// The checks verification makes on a listed signature against the
// document's own bytes, before any cryptography: the byte range and filter,
// the /Contents hex between them, and the declared signing time. Pure.

#include "worker/contract/operations/SignatureListContract.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace velk {

struct SignedRange {
    qint64 gapStart = 0; // a: offset of "<"
    qint64 gapEnd = 0;   // b: just after ">"
    qint64 tailLength = 0; // c
};

class SignatureEntryCheck {
public:
    // The range when it has four entries, starts at 0, leaves a gap of at
    // most the Contents limit that begins with "<" and ends with ">" inside
    // the file, and the filter is one this program verifies.
    static std::optional<SignedRange> checkRange(const SignatureEntry& entry, const QByteArray& file);

    // True when the gap's hex digits (white space and NUL skipped) decode
    // to exactly the listed /Contents bytes.
    static bool contentsMatch(const QByteArray& file, const SignedRange& range, const QByteArray& contents);

    // "D:" + fourteen digits + "Z" as ISO-8601 UTC; any other text (or an
    // impossible date) unchanged.
    static QString declaredTime(const QString& time);

    // The ISO-8601 UTC text of a report; invalid when it does not read.
    static QDateTime isoTime(const QString& text);
};

} // namespace velk
