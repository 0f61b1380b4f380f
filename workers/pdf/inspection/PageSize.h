#pragma once

// The size of one page in PDF points as PDFium reports it (with the page's
// /Rotate applied), and the validity test "inspect" and "render" share.
// Used by the inspection handlers on the worker's single thread.

#include "pdfium/Pdfium.h"

#include <optional>

namespace velk {

struct PageSize {
    double width = 0;
    double height = 0;

    // Both sides finite, above 0 and at most 20,000 points.
    bool isValid() const;

    // The size of the page at index, or nothing when PDFium cannot read it
    // or it is not valid.
    static std::optional<PageSize> read(const Pdfium& pdfium, FPDF_DOCUMENT document, int index);
};

} // namespace velk
