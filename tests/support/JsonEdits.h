#pragma once

// Table tests of requests and replies start from a good object and change
// one field at a time.

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace velk::test {

// json with key set to value; an undefined value removes the key.
inline QJsonObject with(QJsonObject json, const QString& key, const QJsonValue& value)
{
    if (value.isUndefined())
        json.remove(key);
    else
        json.insert(key, value);
    return json;
}

} // namespace velk::test
