#pragma once

// Reads the number and string fields of the editing requests. A field
// counts only when it has the JSON type the operation expects; anything
// else, and a missing field, reads as the default, which the caller's
// bounds then refuse. Integer fields use JsonFields.

#include <QJsonObject>
#include <QString>

namespace velk::EditField {

// Any JSON number; the caller tests it for finiteness and range.
double number(const QJsonObject& request, const QString& key, double defaultValue);

// A JSON string, else the empty string.
QString string(const QJsonObject& request, const QString& key);

} // namespace velk::EditField
