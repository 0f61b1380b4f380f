#pragma once

// File helpers of the operation tests: bytes in and out, what a directory
// holds, a private temporary location, and the independent judges of what
// an operation published (poppler's pdftotext, qpdf's uncompressed form).

#include "document/core/PdfDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk::test {

bool writeBytes(const QString& path, const QByteArray& bytes);
// Null when the file cannot be read.
QByteArray readBytes(const QString& path);
// Every entry of the directory, hidden ones included.
QStringList entriesOf(const QString& directory);

// Points TMPDIR (and so every workspace) at the directory.
void useTemporaryDirectory(const QString& directory);

// pdftotext's text of the whole file, UTF-8; null when pdftotext failed.
QString popplerText(const QString& path);
// The file rewritten by qpdf without compression or object streams, so its
// dictionaries can be searched as text; null when qpdf failed.
QByteArray uncompressed(const QString& path, const QString& scratchDirectory);

// A description of an open document whose files the test chose, without
// the worker's inspection: for checks that end before any worker runs.
PdfDocumentPtr describedDocument(const QString& sourcePath, const QString& workingPath, int pageCount,
                                 int signatureCount = 0, bool encrypted = false);
// The same document described with one page more than its file has: an
// honest document whose edited output can never match it.
PdfDocumentPtr withExtraPage(const PdfDocumentPtr& document);

} // namespace velk::test
