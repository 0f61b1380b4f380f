#pragma once

// A form-fill environment for the one page an operation works on: set up on
// construction (environment, then the page attached to it) and torn down in
// the reverse order on destruction, which must happen before the page is
// closed. Neither copied nor moved: PDFium holds the host's address.

#include "pdfium/FormFillHost.h"
#include "pdfium/Pdfium.h"

namespace velk {

class FormFillSession {
public:
    FormFillSession(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_PAGE page, int pageIndex);
    ~FormFillSession();
    FormFillSession(const FormFillSession&) = delete;
    FormFillSession& operator=(const FormFillSession&) = delete;

    // Null when PDFium refused to set up the environment.
    FPDF_FORMHANDLE form() const { return m_form; }

private:
    const Pdfium& m_pdfium;
    FormFillHost m_host;
    FPDF_FORMHANDLE m_form = nullptr;
};

} // namespace velk
