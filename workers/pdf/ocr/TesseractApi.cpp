#include "TesseractApi.h"

#include <QCoreApplication>
#include <QLibrary>

namespace velk {

namespace {

constexpr char kLibraryName[] = "libtesseract.so.5";

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

bool resolveAll(QLibrary& library, TesseractFunctions& f)
{
    return resolve(library, "TessBaseAPICreate", f.TessBaseAPICreate)
        && resolve(library, "TessBaseAPIDelete", f.TessBaseAPIDelete)
        && resolve(library, "TessBaseAPIInit3", f.TessBaseAPIInit3)
        && resolve(library, "TessBaseAPISetImage", f.TessBaseAPISetImage)
        && resolve(library, "TessBaseAPISetSourceResolution", f.TessBaseAPISetSourceResolution)
        && resolve(library, "TessBaseAPIRecognize", f.TessBaseAPIRecognize)
        && resolve(library, "TessPDFRendererCreate", f.TessPDFRendererCreate)
        && resolve(library, "TessDeleteResultRenderer", f.TessDeleteResultRenderer)
        && resolve(library, "TessResultRendererBeginDocument", f.TessResultRendererBeginDocument)
        && resolve(library, "TessResultRendererAddImage", f.TessResultRendererAddImage)
        && resolve(library, "TessResultRendererEndDocument", f.TessResultRendererEndDocument);
}

} // namespace

QString TesseractApi::libraryPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kLibraryName);
}

QString TesseractApi::dataDirectory()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tessdata");
}

TesseractApi::Outcome TesseractApi::bind()
{
    // Never unloaded: the worker ends right after its one request.
    auto* library = new QLibrary(libraryPath());
    if (!library->load()) {
        delete library;
        return Outcome::LibraryMissing;
    }
    if (!resolveAll(*library, m_functions)) {
        m_functions = {};
        return Outcome::FunctionMissing;
    }
    return Outcome::Bound;
}

} // namespace velk
