#pragma once

// The last step of every operation task: the finished work file from the
// task's workspace is copied to the user's destination through an atomic
// save file, so the destination holds either its old content or the whole
// new file. Runs on the task's pool thread; blocking.

#include "worker/runner/CancelFlag.h"
#include "document/core/PdfDocument.h"

#include <QString>

namespace velk {

// Copies in 1 MiB chunks, testing the flag (may be null) before each one;
// refuses work files above 512 MiB. On every failure the destination is
// left as it was.
ExportResult publishOutput(const QString& workFile, const QString& destination, const CancelFlag& cancel);

} // namespace velk
