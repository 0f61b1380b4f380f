#pragma once

// Which paths a PDF-worker request may touch: the files it may read and the
// one directory it may write. Pure functions of the request (and the
// current directory, against which relative paths resolve); the sandbox
// grants exactly these.

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace velk::WorkerAccess {

// The request's "path", then every "sources"[i]."path", each made absolute.
// Empty and non-string values are skipped; order and duplicates are kept.
QStringList readList(const QJsonObject& request);

// The absolute directory holding the request's "output", or empty when
// there is no output (the worker then gets no write access anywhere).
QString writeDirectory(const QJsonObject& request);

} // namespace velk::WorkerAccess
