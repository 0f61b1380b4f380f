#pragma once

// Tesseract 5's C interface, bound at run time from libtesseract.so.5 in the
// engine directory (the worker's own unless a directory is named; never the
// system path). Our own declarations of the few functions the OCR operation
// calls; the handles stay opaque.

#include "common/EngineLibrary.h"

#include <QString>

namespace velk {

struct TessBaseApiHandle;
struct TessRendererHandle;

struct TesseractFunctions {
    TessBaseApiHandle* (*TessBaseAPICreate)() = nullptr;
    void (*TessBaseAPIDelete)(TessBaseApiHandle*) = nullptr;
    int (*TessBaseAPIInit3)(TessBaseApiHandle*, const char* dataPath, const char* language) = nullptr;
    void (*TessBaseAPISetImage)(TessBaseApiHandle*, const unsigned char* pixels, int width, int height,
                                int bytesPerPixel, int bytesPerLine) = nullptr;
    void (*TessBaseAPISetSourceResolution)(TessBaseApiHandle*, int ppi) = nullptr;
    int (*TessBaseAPIRecognize)(TessBaseApiHandle*, void* monitor) = nullptr;
    TessRendererHandle* (*TessPDFRendererCreate)(const char* outputBase, const char* dataDirectory,
                                                 int textOnly) = nullptr;
    void (*TessDeleteResultRenderer)(TessRendererHandle*) = nullptr;
    int (*TessResultRendererBeginDocument)(TessRendererHandle*, const char* title) = nullptr;
    int (*TessResultRendererAddImage)(TessRendererHandle*, TessBaseApiHandle*) = nullptr;
    int (*TessResultRendererEndDocument)(TessRendererHandle*) = nullptr;
};

class TesseractApi {
public:
    using Outcome = EngineLibrary::Outcome;

    // Loads the library and resolves every function, in a fixed order.
    Outcome bind();
    Outcome bind(const QString& directory);
    const TesseractFunctions& functions() const { return m_functions; }

    static QString libraryPath();
    // The directory holding tur.traineddata and eng.traineddata, inside the
    // default engine directory.
    static QString dataDirectory();

private:
    TesseractFunctions m_functions;
};

} // namespace velk
