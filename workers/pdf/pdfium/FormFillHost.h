#pragma once

// The host record PDFium's form-fill layer calls back into: a version 2
// FPDF_FORMFILLINFO followed by the one page the operation works on. PDFium
// keeps the record's address for the life of the form-fill environment, so
// a host is neither copied nor moved.

#include "pdfium/PdfiumTypes.h"

#include <type_traits>

namespace velk {

struct FormFillHost {
    FPDF_FORMFILLINFO info;
    FPDF_PAGE page;
    int pageIndex;

    FormFillHost(FPDF_PAGE loadedPage, int loadedPageIndex);
    FormFillHost(const FormFillHost&) = delete;
    FormFillHost& operator=(const FormFillHost&) = delete;

    // The host behind the record pointer PDFium hands to a callback.
    static FormFillHost* fromInfo(FPDF_FORMFILLINFO* info);
};

// The callbacks reach the extra members through the record pointer.
static_assert(std::is_standard_layout_v<FormFillHost>);
static_assert(offsetof(FormFillHost, info) == 0);

} // namespace velk
