#pragma once

// Opens a PDF file with PDFium. The path is handed over as UTF-8 of its
// absolute form; the password bytes are overwritten with zeros right after
// the open call, whatever its outcome.

#include "pdfium/PdfiumHandles.h"

#include <QByteArray>
#include <QString>

namespace velk {

struct OpenedDocument {
    DocumentHandle document;
    // PDFium's open-error code when document is null, else 0.
    int error = 0;
};

OpenedDocument loadPdfiumDocument(const Pdfium& pdfium, const QString& path, QByteArray& passwordUtf8);

} // namespace velk
