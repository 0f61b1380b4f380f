#pragma once

// Chooses the operation a PDF-worker request names and runs it. For the
// PDFium group it first checks the file, binds PDFium, opens the document
// and bounds its page count; the document is closed on every path. Runs on
// the worker's single thread; the caller has already parsed the request and
// passed the isolation self-check.

#include <QJsonObject>

namespace velk {

// The reply without "isolation".
QJsonObject dispatchRequest(const QJsonObject& request);

} // namespace velk
