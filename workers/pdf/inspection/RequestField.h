#pragma once

// Reads the integer fields of the inspection requests ("page", "width",
// "start"). A field counts only when it is a JSON number with a whole value
// that fits 64 bits; a missing field, a fraction, a string or a number
// beyond that range reads as the default. The caller bounds the result.

#include <QJsonObject>
#include <QString>

namespace velk {

class RequestField {
public:
    static qint64 integer(const QJsonObject& request, const QString& key, qint64 defaultValue);
};

} // namespace velk
