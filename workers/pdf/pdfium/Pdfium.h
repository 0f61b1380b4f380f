#pragma once

// One binding of the PDFium library: loads libpdfium.so from the engine
// directory (the running executable's own unless a directory is named;
// never the current directory or the system path), resolves the whole
// function table and initialises the library once.
// Owned by the code that needs PDFium, on the worker's single thread. After
// a failed bind only the error message is meaningful and nothing may be
// called; the library stays mapped until the process exits.

#include "pdfium/PdfiumFunctions.h"

#include <QString>
#include <QStringList>

namespace velk {

class Pdfium {
public:
    Pdfium();
    ~Pdfium();
    Pdfium(const Pdfium&) = delete;
    Pdfium& operator=(const Pdfium&) = delete;

    // True when every function resolved and the library was initialised.
    // A second call on a bound object does nothing more.
    bool bindPdfium();
    bool bindPdfium(const QString& directory);

    bool isBound() const { return m_bound; }
    // Empty while bound; one Turkish sentence after a failed bind.
    const QString& errorMessage() const { return m_errorMessage; }
    const PdfiumFunctions& api() const { return m_functions; }

    // PDFium's code for the last failed FPDF_LoadDocument (0..6 in this
    // build); a value that does not fit an int counts as unspecified (1).
    int lastOpenError() const;

    // Where the binding looks for the library by default.
    static QString libraryPath();
    // The function names in resolution order.
    static QStringList functionNames();

private:
    QString m_errorMessage;
    PdfiumFunctions m_functions;
    bool m_bound = false;
};

} // namespace velk
