#include "signing/verification/SignatureEntryCheck.h"

#include "signing/verification/VerificationLimits.h"

namespace velk {

namespace {

bool isKnownFilter(const QString& filter)
{
    return filter == QStringLiteral("ETSI.CAdES.detached") || filter == QStringLiteral("adbe.pkcs7.detached")
           || filter == QStringLiteral("ETSI.RFC3161");
}

// Space, NUL, tab, line feed, form feed and carriage return may sit
// between hex digits; a vertical tab may not.
bool isSkipped(char c)
{
    return c == ' ' || c == '\0' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<SignedRange> SignatureEntryCheck::checkRange(const SignatureEntry& entry, const QByteArray& file)
{
    if (entry.range.size() != 4 || !isKnownFilter(entry.filter))
        return std::nullopt;
    const qint64 size = file.size();
    const qint64 a = entry.range.at(1);
    const qint64 b = entry.range.at(2);
    const qint64 c = entry.range.at(3);
    // Each comparison keeps the next one's arithmetic in range.
    if (entry.range.at(0) != 0 || a < 1 || a >= b || c < 0 || b > size || size - b < c
        || b - a > VerificationLimits::kMaxContentsGap)
        return std::nullopt;
    if (file.at(a) != '<' || file.at(b - 1) != '>')
        return std::nullopt;
    return SignedRange{a, b, c};
}

bool SignatureEntryCheck::contentsMatch(const QByteArray& file, const SignedRange& range, const QByteArray& contents)
{
    QByteArray decoded;
    decoded.reserve((range.gapEnd - range.gapStart) / 2);
    int high = -1;
    for (qint64 at = range.gapStart + 1; at < range.gapEnd - 1; ++at) {
        const char c = file.at(at);
        if (isSkipped(c))
            continue;
        const int value = hexValue(c);
        if (value < 0)
            return false;
        if (high < 0) {
            high = value;
        } else {
            decoded.append(char(high * 16 + value));
            high = -1;
        }
    }
    return high < 0 && decoded == contents;
}

QString SignatureEntryCheck::declaredTime(const QString& time)
{
    if (time.size() != 17 || !time.startsWith(QStringLiteral("D:")) || !time.endsWith(QLatin1Char('Z')))
        return time;
    // Date and clock apart: read as one local time, a moment in a
    // daylight-saving gap would not exist.
    const QDate date = QDate::fromString(time.mid(2, 8), QStringLiteral("yyyyMMdd"));
    const QTime clock = QTime::fromString(time.mid(10, 6), QStringLiteral("HHmmss"));
    if (!date.isValid() || !clock.isValid())
        return time;
    return QDateTime(date, clock, Qt::UTC).toString(Qt::ISODate);
}

QDateTime SignatureEntryCheck::isoTime(const QString& text)
{
    if (text.isEmpty())
        return {};
    QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid() || moment.timeSpec() != Qt::UTC)
        return {};
    return moment;
}

} // namespace velk
