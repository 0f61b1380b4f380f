#include "signing/timestamps/AsnTime.h"

#include <ctime>

namespace velk {

std::optional<QDateTime> AsnTime::toDateTime(const ASN1_TIME* time)
{
    std::tm parts{};
    if (time == nullptr || ASN1_TIME_to_tm(time, &parts) != 1)
        return std::nullopt;
    const QDate date(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    const QTime clock(parts.tm_hour, parts.tm_min, parts.tm_sec);
    if (!date.isValid() || !clock.isValid())
        return std::nullopt;
    return QDateTime(date, clock, Qt::UTC);
}

QString AsnTime::isoTime(const ASN1_TIME* time)
{
    const std::optional<QDateTime> converted = toDateTime(time);
    return converted ? converted->toString(Qt::ISODate) : QString();
}

} // namespace velk
