#pragma once

// Saves a whole document, fully rewritten, to a new file that must not exist
// yet. The output appears only complete: it is written to a temporary file
// beside it and renamed into place, and nothing is left behind on failure.

#include "Pdfium.h"

#include <QJsonObject>
#include <QString>

namespace velk {

// An absolute path naming nothing yet, not even a dangling link: the one
// kind of output saveNewPdf writes. Editing requests test it up front.
bool isFreshAbsolutePath(const QString& path);

// Fills reply with {"ok": true} or {"ok": false, "error": sentence} and
// returns the same outcome.
bool saveNewPdf(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QString& outputPath);

} // namespace velk
