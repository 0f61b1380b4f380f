#include "ocr/TesseractApi.h"

#include <iterator>

namespace velk {

namespace {

constexpr char kLibraryName[] = "libtesseract.so.5";

#define VELK_TESSERACT_ENTRY(function) VELK_ENGINE_FUNCTION(TesseractFunctions, function)

constexpr EngineFunction<TesseractFunctions> kTable[] = {
    VELK_TESSERACT_ENTRY(TessBaseAPICreate),
    VELK_TESSERACT_ENTRY(TessBaseAPIDelete),
    VELK_TESSERACT_ENTRY(TessBaseAPIInit3),
    VELK_TESSERACT_ENTRY(TessBaseAPISetImage),
    VELK_TESSERACT_ENTRY(TessBaseAPISetSourceResolution),
    VELK_TESSERACT_ENTRY(TessBaseAPIRecognize),
    VELK_TESSERACT_ENTRY(TessPDFRendererCreate),
    VELK_TESSERACT_ENTRY(TessDeleteResultRenderer),
    VELK_TESSERACT_ENTRY(TessResultRendererBeginDocument),
    VELK_TESSERACT_ENTRY(TessResultRendererAddImage),
    VELK_TESSERACT_ENTRY(TessResultRendererEndDocument),
};

#undef VELK_TESSERACT_ENTRY

// Every member of TesseractFunctions has its row.
static_assert(sizeof(TesseractFunctions) == std::size(kTable) * sizeof(void (*)()));

} // namespace

QString TesseractApi::libraryPath()
{
    return EngineLibrary::pathIn(EngineLibrary::defaultDirectory(), kLibraryName);
}

QString TesseractApi::dataDirectory()
{
    const QString directory = EngineLibrary::defaultDirectory();
    return directory.isEmpty() ? QString() : directory + QStringLiteral("/tessdata");
}

TesseractApi::Outcome TesseractApi::bind()
{
    return bind(EngineLibrary::defaultDirectory());
}

TesseractApi::Outcome TesseractApi::bind(const QString& directory)
{
    // Never unloaded: the worker ends right after its one request.
    return EngineLibrary::load(EngineLibrary::pathIn(directory, kLibraryName), EngineLibrary::kDefaultFlags, kTable,
                               m_functions);
}

} // namespace velk
