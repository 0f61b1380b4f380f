#pragma once

// ASN.1 times (UTCTime, GeneralizedTime) as UTC date-times and ISO-8601 text.

#include <QDateTime>
#include <QString>

#include <openssl/asn1.h>

#include <optional>

namespace velk {

class AsnTime {
public:
    static std::optional<QDateTime> toDateTime(const ASN1_TIME* time);
    // "2024-01-31T12:34:56Z"; empty when the time does not convert.
    static QString isoTime(const ASN1_TIME* time);
};

} // namespace velk
