#pragma once

// The two failure shapes of the PDF worker: {"ok": false, "error": message}
// from operation handlers, and the same with "code" from the entry and
// dispatch level.

#include <QJsonObject>
#include <QString>

namespace velk {

QJsonObject errorReply(const QString& message);
QJsonObject errorReply(const QString& message, int code);

} // namespace velk
