#pragma once

// The font of inserted and replacing text: Roboto Bold, compiled into the
// worker's resources, embedded into the document as a TrueType CID font.
// Only the CID form carries every Turkish letter; a simple TrueType font
// would lose ğ, ı, İ and ş. Used on the worker's single thread.

#include "pdfium/PdfiumHandles.h"

#include <QByteArray>

namespace velk::EmbeddedFont {

// The font file's bytes; empty when the resource cannot be read or is not
// of a plausible size.
QByteArray read();

// The font loaded into the document; null when PDFium refuses it. PDFium
// copies the bytes, so data need not outlive the call.
FontHandle load(const Pdfium& pdfium, FPDF_DOCUMENT document, const QByteArray& data);

} // namespace velk::EmbeddedFont
