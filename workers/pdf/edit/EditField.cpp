#include "edit/EditField.h"

#include <QJsonValue>

namespace velk::EditField {

double number(const QJsonObject& request, const QString& key, double defaultValue)
{
    const QJsonValue value = request.value(key);
    return value.isDouble() ? value.toDouble(defaultValue) : defaultValue;
}

QString string(const QJsonObject& request, const QString& key)
{
    const QJsonValue value = request.value(key);
    return value.isString() ? value.toString() : QString();
}

} // namespace velk::EditField
