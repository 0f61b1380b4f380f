#include "worker/contract/JsonFields.h"

#include <cmath>

namespace velk {

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::optional<qint64> JsonFields::integer(const QJsonValue& value, qint64 minimum, qint64 maximum)
{
    if (!value.isDouble())
        return std::nullopt;
    // toInteger gives its default for anything that is not a whole number
    // representable in 64 bits; two different defaults tell that case apart
    // from a value that happens to equal one of them.
    const qint64 first = value.toInteger(0);
    const qint64 second = value.toInteger(1);
    if (first != second)
        return std::nullopt;
    if (first < minimum || first > maximum)
        return std::nullopt;
    return first;
}

std::optional<qint64> JsonFields::integer(const QJsonObject& object, const QString& key, qint64 minimum,
                                          qint64 maximum)
{
    return integer(object.value(key), minimum, maximum);
}

qint64 JsonFields::index(const QJsonObject& object, const QString& key, qint64 maximum)
{
    return integer(object, key, 0, maximum).value_or(-1);
}

std::optional<double> JsonFields::number(const QJsonObject& object, const QString& key, double minimum,
                                         double maximum)
{
    return number(object.value(key), minimum, maximum);
}

std::optional<double> JsonFields::number(const QJsonValue& value, double minimum, double maximum)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < minimum || number > maximum)
        return std::nullopt;
    return number;
}

std::optional<bool> JsonFields::boolean(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}

std::optional<QString> JsonFields::string(const QJsonValue& value, qsizetype maxLength)
{
    if (!value.isString())
        return std::nullopt;
    QString text = value.toString();
    if (text.size() > maxLength)
        return std::nullopt;
    return text;
}

std::optional<QString> JsonFields::string(const QJsonObject& object, const QString& key, qsizetype maxLength)
{
    return string(object.value(key), maxLength);
}

std::optional<QJsonObject> JsonFields::object(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    if (!value.isObject())
        return std::nullopt;
    return value.toObject();
}

std::optional<QJsonArray> JsonFields::array(const QJsonObject& object, const QString& key, qsizetype maxCount)
{
    const QJsonValue value = object.value(key);
    if (!value.isArray())
        return std::nullopt;
    QJsonArray array = value.toArray();
    if (array.size() > maxCount)
        return std::nullopt;
    return array;
}

std::optional<QByteArray> JsonFields::base64(const QJsonObject& object, const QString& key, qsizetype maxBytes)
{
    const QJsonValue value = object.value(key);
    if (!value.isString() || maxBytes < 0)
        return std::nullopt;
    const QString text = value.toString();
    // Four characters carry three bytes; refuse before decoding anything
    // that could not fit.
    if (text.size() % 4 != 0 || text.size() / 4 > (maxBytes + 2) / 3)
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok || decoded.decoded.size() > maxBytes)
        return std::nullopt;
    // Latin-1 conversion turns characters outside it into '?', which the
    // strict decoder refuses; re-encoding catches any other lenience.
    if (QString::fromLatin1(decoded.decoded.toBase64()) != text)
        return std::nullopt;
    return decoded.decoded;
}

std::optional<QByteArray> JsonFields::hex(const QJsonObject& object, const QString& key, qsizetype maxBytes)
{
    const QJsonValue value = object.value(key);
    if (!value.isString() || maxBytes < 0)
        return std::nullopt;
    const QString text = value.toString();
    if (text.size() % 2 != 0 || text.size() / 2 > maxBytes)
        return std::nullopt;
    const QByteArray latin = text.toLatin1();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() > 0x7f || !isHexDigit(latin.at(i)))
            return std::nullopt;
    }
    return QByteArray::fromHex(latin);
}

} // namespace velk
