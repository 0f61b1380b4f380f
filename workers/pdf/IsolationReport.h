#pragma once

// The "isolation" object every PDF-worker reply carries. Both keys always
// hold the single result of the worker's isolation self-check.

#include <QJsonObject>

namespace velk {

QJsonObject isolationReport(bool selfCheckPassed);

// The reply with "isolation" set, replacing any key of that name a handler
// may have written.
QJsonObject withIsolation(QJsonObject reply, bool selfCheckPassed);

} // namespace velk
