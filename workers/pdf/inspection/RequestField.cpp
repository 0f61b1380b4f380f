#include "RequestField.h"

#include <QJsonValue>

namespace velk {

qint64 RequestField::integer(const QJsonObject& request, const QString& key, qint64 defaultValue)
{
    const QJsonValue value = request.value(key);
    // toInteger also accepts a double with a whole value in range, and gives
    // the default for everything else; a string never reads as a number.
    return value.isDouble() ? value.toInteger(defaultValue) : defaultValue;
}

} // namespace velk
