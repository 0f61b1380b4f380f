#pragma once

// Saves a whole document, fully rewritten, to a new file that must not exist
// yet. The output appears only complete: it is written to a temporary file
// beside it and renamed into place, and nothing is left behind on failure.
// A document that needs more work after PDFium saved it is saved to memory
// first and its final bytes committed the same way.

#include "pdfium/Pdfium.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace velk {

// An absolute path naming nothing yet, not even a dangling link: the one
// kind of output saveNewPdf writes. Editing requests test it up front.
bool isFreshAbsolutePath(const QString& path);

// Fills reply with {"ok": true} or {"ok": false, "error": sentence} and
// returns the same outcome.
bool saveNewPdf(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QString& outputPath);

// False, with saveNewPdf's refusal in reply, unless outputPath is fresh.
bool acceptsNewOutput(QJsonObject& reply, const QString& outputPath);

// The whole document, fully rewritten, as PDFium saves it; empty, with
// saveNewPdf's failure in reply, when saving failed.
std::optional<QByteArray> savePdfToMemory(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document);

// Commits finished bytes to the new file with saveNewPdf's checks and
// sentences.
bool writeNewPdf(QJsonObject& reply, const QByteArray& bytes, const QString& outputPath);

} // namespace velk
