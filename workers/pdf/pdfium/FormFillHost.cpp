#include "pdfium/FormFillHost.h"

#include <cstring>

namespace velk {

namespace {

void invalidate(FPDF_FORMFILLINFO*, FPDF_PAGE, double, double, double, double)
{
    // Nothing is shown on screen: repaint requests have nowhere to go.
}

FPDF_PAGE pageAt(FPDF_FORMFILLINFO* info, FPDF_DOCUMENT, int index)
{
    const FormFillHost* host = FormFillHost::fromInfo(info);
    return host && index == host->pageIndex ? host->page : nullptr;
}

FPDF_PAGE currentPage(FPDF_FORMFILLINFO* info, FPDF_DOCUMENT)
{
    const FormFillHost* host = FormFillHost::fromInfo(info);
    return host ? host->page : nullptr;
}

} // namespace

FormFillHost::FormFillHost(FPDF_PAGE loadedPage, int loadedPageIndex)
    : page(loadedPage)
    , pageIndex(loadedPageIndex)
{
    // Every member PDFium may look at and we do not serve stays null.
    std::memset(&info, 0, sizeof info);
    info.version = 2;
    info.xfa_disabled = 1;
    info.FFI_Invalidate = &invalidate;
    info.FFI_GetPage = &pageAt;
    info.FFI_GetCurrentPage = &currentPage;
}

FormFillHost* FormFillHost::fromInfo(FPDF_FORMFILLINFO* info)
{
    // The record is the host's first member of a standard-layout type, so
    // the two addresses are interconvertible.
    return reinterpret_cast<FormFillHost*>(info);
}

} // namespace velk
