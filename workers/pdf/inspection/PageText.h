#pragma once

// The text of one page as PDFium extracts it, for "search". The page and its
// text page are opened and closed inside the call. Runs on the worker's
// single thread.

#include "pdfium/Pdfium.h"

#include <QString>

namespace velk {

class PageText {
public:
    // Empty when the page or its text cannot be loaded, when it has no
    // character or more than 200,000, or when PDFium's answer is out of range.
    static QString read(const Pdfium& pdfium, FPDF_DOCUMENT document, int index);
};

} // namespace velk
