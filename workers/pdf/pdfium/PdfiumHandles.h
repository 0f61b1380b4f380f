#pragma once

// Owning wrappers for PDFium handles. The release functions come from the
// binding (PDFium is not linked), so each deleter carries its function
// pointer. Wrap a handle in the statement that acquires it; declare a page
// after its document so that it is released first.

#include "pdfium/Pdfium.h"

#include <memory>
#include <type_traits>

namespace velk {

template <typename Handle>
struct PdfiumReleaser {
    void (*release)(Handle) = nullptr;
    void operator()(Handle handle) const
    {
        if (handle && release)
            release(handle);
    }
};

template <typename Handle>
using PdfiumHandle = std::unique_ptr<std::remove_pointer_t<Handle>, PdfiumReleaser<Handle>>;

using DocumentHandle = PdfiumHandle<FPDF_DOCUMENT>;
using PageHandle = PdfiumHandle<FPDF_PAGE>;
using TextPageHandle = PdfiumHandle<FPDF_TEXTPAGE>;
using BitmapHandle = PdfiumHandle<FPDF_BITMAP>;
using AnnotationHandle = PdfiumHandle<FPDF_ANNOTATION>;
using FontHandle = PdfiumHandle<FPDF_FONT>;
using FormHandle = PdfiumHandle<FPDF_FORMHANDLE>;
// Only for an object that was never inserted into a page: a page owns the
// objects inserted into it.
using PageObjectHandle = PdfiumHandle<FPDF_PAGEOBJECT>;

inline DocumentHandle wrapDocument(const Pdfium& pdfium, FPDF_DOCUMENT document)
{
    return DocumentHandle(document, {pdfium.api().FPDF_CloseDocument});
}

inline PageHandle wrapPage(const Pdfium& pdfium, FPDF_PAGE page)
{
    return PageHandle(page, {pdfium.api().FPDF_ClosePage});
}

inline TextPageHandle wrapTextPage(const Pdfium& pdfium, FPDF_TEXTPAGE textPage)
{
    return TextPageHandle(textPage, {pdfium.api().FPDFText_ClosePage});
}

// Destroying the bitmap leaves caller-owned pixel memory alone.
inline BitmapHandle wrapBitmap(const Pdfium& pdfium, FPDF_BITMAP bitmap)
{
    return BitmapHandle(bitmap, {pdfium.api().FPDFBitmap_Destroy});
}

inline AnnotationHandle wrapAnnotation(const Pdfium& pdfium, FPDF_ANNOTATION annotation)
{
    return AnnotationHandle(annotation, {pdfium.api().FPDFPage_CloseAnnot});
}

inline FontHandle wrapFont(const Pdfium& pdfium, FPDF_FONT font)
{
    return FontHandle(font, {pdfium.api().FPDFFont_Close});
}

inline FormHandle wrapForm(const Pdfium& pdfium, FPDF_FORMHANDLE form)
{
    return FormHandle(form, {pdfium.api().FPDFDOC_ExitFormFillEnvironment});
}

inline PageObjectHandle wrapPageObject(const Pdfium& pdfium, FPDF_PAGEOBJECT object)
{
    return PageObjectHandle(object, {pdfium.api().FPDFPageObj_Destroy});
}

} // namespace velk
