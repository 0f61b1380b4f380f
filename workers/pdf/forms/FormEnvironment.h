#pragma once

// One form-fill environment for a whole operation and the walk over the
// widgets of one page at a time: the host is pointed at the loaded page,
// the environment hears that the page was loaded and, after the widgets,
// that it closes. Neither copied nor moved: PDFium holds the host's address.

#include "pdfium/FormFillHost.h"
#include "pdfium/PdfiumHandles.h"

#include <QString>

#include <functional>

namespace velk {

class FormEnvironment {
public:
    // Answers an error sentence, or "" to go on with the next widget.
    using WidgetVisitor = std::function<QString(FPDF_PAGE page, int pageIndex, int annotationIndex,
                                                FPDF_ANNOTATION widget)>;

    FormEnvironment(const Pdfium& pdfium, FPDF_DOCUMENT document);
    FormEnvironment(const FormEnvironment&) = delete;
    FormEnvironment& operator=(const FormEnvironment&) = delete;

    // Null when PDFium refused to set up the environment.
    FPDF_FORMHANDLE form() const { return m_form.get(); }

    // Visits the page's widget annotations in annotation order; the first
    // error stops the walk and is answered.
    QString walkPage(int pageIndex, const WidgetVisitor& visit);

private:
    QString walkAnnotations(FPDF_PAGE page, int pageIndex, const WidgetVisitor& visit);

    const Pdfium& m_pdfium;
    FPDF_DOCUMENT m_document;
    FormFillHost m_host;
    // Declared after the host: the environment is left before the host goes.
    FormHandle m_form;
};

} // namespace velk
