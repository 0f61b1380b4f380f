#include "pdfium/FormFillSession.h"

namespace velk {

FormFillSession::FormFillSession(const Pdfium& pdfium, FPDF_DOCUMENT document, FPDF_PAGE page, int pageIndex)
    : m_pdfium(pdfium)
    , m_host(page, pageIndex)
{
    m_form = pdfium.api().FPDFDOC_InitFormFillEnvironment(document, &m_host.info);
    if (m_form)
        pdfium.api().FORM_OnAfterLoadPage(page, m_form);
}

FormFillSession::~FormFillSession()
{
    if (!m_form)
        return;
    m_pdfium.api().FORM_OnBeforeClosePage(m_host.page, m_form);
    m_pdfium.api().FPDFDOC_ExitFormFillEnvironment(m_form);
}

} // namespace velk
