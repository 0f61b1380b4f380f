#include "pdfium/Pdfium.h"

#include "pdfium/PdfiumFunctionTable.h"

#include "common/EngineLibrary.h"
#include "worker/contract/PdfiumCodes.h"

#include <climits>

namespace velk {

namespace {

const char kLibraryName[] = "libpdfium.so";

QString notLoadedMessage() { return QStringLiteral("PDFium motoru yüklenemedi."); }
QString incompatibleMessage() { return QStringLiteral("PDFium API sürümü uyumsuz."); }

int loadFlags()
{
    // The library is never unmapped. Deep binding keeps PDFium on its own
    // bundled FreeType even after QtGui pulled in the system copy; the
    // sanitizer runtimes refuse deep binding, so those builds go without.
#ifdef VELK_SANITIZER_BUILD
    return EngineLibrary::kDefaultFlags | RTLD_NODELETE;
#else
    return EngineLibrary::kDefaultFlags | RTLD_NODELETE | RTLD_DEEPBIND;
#endif
}

} // namespace

Pdfium::Pdfium() = default;
Pdfium::~Pdfium() = default;

QString Pdfium::libraryPath()
{
    // Without an engine directory the path is empty and loads nothing.
    return EngineLibrary::pathIn(EngineLibrary::defaultDirectory(), kLibraryName);
}

QStringList Pdfium::functionNames()
{
    return EngineLibrary::functionNames(pdfiumFunctionTable());
}

bool Pdfium::bindPdfium()
{
    return bindPdfium(EngineLibrary::defaultDirectory());
}

bool Pdfium::bindPdfium(const QString& directory)
{
    if (m_bound)
        return true;
    PdfiumFunctions functions;
    switch (EngineLibrary::load(EngineLibrary::pathIn(directory, kLibraryName), loadFlags(), pdfiumFunctionTable(),
                                functions)) {
    case EngineLibrary::Outcome::LibraryMissing:
        m_errorMessage = notLoadedMessage();
        return false;
    case EngineLibrary::Outcome::FunctionMissing:
        m_errorMessage = incompatibleMessage();
        return false;
    case EngineLibrary::Outcome::Loaded:
        break;
    }
    functions.FPDF_InitLibrary();
    m_functions = functions;
    m_errorMessage.clear();
    m_bound = true;
    return true;
}

int Pdfium::lastOpenError() const
{
    if (!m_bound)
        return int(PdfOpenError::Unknown);
    const unsigned long code = m_functions.FPDF_GetLastError();
    return code <= static_cast<unsigned long>(INT_MAX) ? int(code) : int(PdfOpenError::Unknown);
}

} // namespace velk
