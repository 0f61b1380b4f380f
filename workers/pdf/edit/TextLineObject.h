#pragma once

// One line of new text as a PDFium text object, not yet on a page: the
// step inserted and replacing text share. Used on the worker's single
// thread; the caller inserts the object or lets the handle destroy it.

#include "pdfium/PdfiumHandles.h"

#include <QString>

namespace velk::TextLineObject {

// The matrix (a, b, c, d, e, f) that places a new object.
struct Placement {
    double a, b, c, d, e, f;
};

// A text object in font at size holding line, placed by placement. Null
// when PDFium refuses the object or its text.
PageObjectHandle create(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_FONT font, float size, const QString& line,
                        const Placement& placement);

} // namespace velk::TextLineObject
