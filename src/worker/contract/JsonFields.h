#pragma once

// The one reader of JSON fields in requests and replies on both sides of the
// worker boundary. Every reader answers "absent or unusable" as an empty
// optional, so a wrong type, a fraction, a value out of range or an
// oversized string is refused the same way as a missing field; the caller
// decides what that means (a default, or the operation's sentence).

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace velk {

class JsonFields {
public:
    // A JSON number with a whole value in [minimum, maximum]. Whole doubles
    // count (3.0 is 3); 2^63 and beyond, fractions, strings and booleans
    // do not.
    static std::optional<qint64> integer(const QJsonValue& value, qint64 minimum, qint64 maximum);
    static std::optional<qint64> integer(const QJsonObject& object, const QString& key, qint64 minimum,
                                         qint64 maximum);

    // An index: a whole number in [0, maximum], else -1 (which no list has).
    static qint64 index(const QJsonObject& object, const QString& key, qint64 maximum);

    // A finite JSON number in [minimum, maximum].
    static std::optional<double> number(const QJsonObject& object, const QString& key, double minimum,
                                        double maximum);
    static std::optional<double> number(const QJsonValue& value, double minimum, double maximum);

    static std::optional<bool> boolean(const QJsonObject& object, const QString& key);

    // A JSON string of at most maxLength UTF-16 code units.
    static std::optional<QString> string(const QJsonValue& value, qsizetype maxLength);
    static std::optional<QString> string(const QJsonObject& object, const QString& key, qsizetype maxLength);

    static std::optional<QJsonObject> object(const QJsonObject& object, const QString& key);

    // A JSON array of at most maxCount elements.
    static std::optional<QJsonArray> array(const QJsonObject& object, const QString& key, qsizetype maxCount);

    // Strict standard Base64 (padding required, no other characters) whose
    // decoded size is at most maxBytes.
    static std::optional<QByteArray> base64(const QJsonObject& object, const QString& key, qsizetype maxBytes);

    // Hexadecimal text of even length (either case) whose decoded size is at
    // most maxBytes.
    static std::optional<QByteArray> hex(const QJsonObject& object, const QString& key, qsizetype maxBytes);
};

} // namespace velk
