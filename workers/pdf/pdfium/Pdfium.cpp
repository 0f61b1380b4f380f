#include "Pdfium.h"

#include "PdfiumFunctionTable.h"

#include <QCoreApplication>
#include <QLibrary>

#include <climits>

namespace velk {

namespace {

const char kLibraryName[] = "libpdfium.so";

QString notLoadedMessage() { return QStringLiteral("PDFium motoru yüklenemedi."); }
QString incompatibleMessage() { return QStringLiteral("PDFium API sürümü uyumsuz."); }

QLibrary::LoadHints loadHints()
{
    // The library is never unmapped. Deep binding keeps PDFium on its own
    // bundled FreeType even after QtGui pulled in the system copy; the
    // sanitizer runtimes refuse deep binding, so those builds go without.
#ifdef VELK_SANITIZER_BUILD
    return QLibrary::PreventUnloadHint;
#else
    return QLibrary::PreventUnloadHint | QLibrary::DeepBindHint;
#endif
}

} // namespace

Pdfium::Pdfium() = default;
Pdfium::~Pdfium() = default;

QString Pdfium::libraryPath()
{
    // Without an application object there is no trustworthy own directory;
    // an empty path then loads nothing.
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kLibraryName);
}

QStringList Pdfium::functionNames()
{
    QStringList names;
    for (const PdfiumFunctionEntry& entry : pdfiumFunctionTable())
        names.append(QLatin1String(entry.name));
    return names;
}

bool Pdfium::bindPdfium()
{
    if (m_bound)
        return true;
    const QString path = libraryPath();
    if (path.isEmpty()) {
        m_errorMessage = notLoadedMessage();
        return false;
    }
    auto library = std::make_unique<QLibrary>(path);
    library->setLoadHints(loadHints());
    if (!library->load()) {
        m_errorMessage = notLoadedMessage();
        return false;
    }
    PdfiumFunctions functions;
    for (const PdfiumFunctionEntry& entry : pdfiumFunctionTable()) {
        const QFunctionPointer address = library->resolve(entry.name);
        if (!address) {
            m_errorMessage = incompatibleMessage();
            return false;
        }
        entry.assign(functions, address);
    }
    functions.FPDF_InitLibrary();
    m_functions = functions;
    m_library = std::move(library);
    m_errorMessage.clear();
    m_bound = true;
    return true;
}

int Pdfium::lastOpenError() const
{
    if (!m_bound)
        return int(kPdfiumErrorUnknown);
    const unsigned long code = m_functions.FPDF_GetLastError();
    return code <= static_cast<unsigned long>(INT_MAX) ? int(code) : int(kPdfiumErrorUnknown);
}

} // namespace velk
