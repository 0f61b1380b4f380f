#include "forms/FormEnvironment.h"

#include "forms/FormLimits.h"

namespace velk {

FormEnvironment::FormEnvironment(const Pdfium& pdfium, FPDF_DOCUMENT document)
    : m_pdfium(pdfium)
    , m_document(document)
    , m_host(nullptr, -1)
    , m_form(wrapForm(pdfium, pdfium.api().FPDFDOC_InitFormFillEnvironment(document, &m_host.info)))
{
}

QString FormEnvironment::walkPage(int pageIndex, const WidgetVisitor& visit)
{
    const PdfiumFunctions& api = m_pdfium.api();
    const PageHandle page = wrapPage(m_pdfium, api.FPDF_LoadPage(m_document, pageIndex));
    if (!page)
        return QStringLiteral("Form sayfası açılamadı.");
    m_host.page = page.get();
    m_host.pageIndex = pageIndex;
    api.FORM_OnAfterLoadPage(page.get(), m_form.get());
    const QString error = walkAnnotations(page.get(), pageIndex, visit);
    api.FORM_ForceToKillFocus(m_form.get());
    api.FORM_OnBeforeClosePage(page.get(), m_form.get());
    m_host.page = nullptr;
    m_host.pageIndex = -1;
    return error;
}

QString FormEnvironment::walkAnnotations(FPDF_PAGE page, int pageIndex, const WidgetVisitor& visit)
{
    const PdfiumFunctions& api = m_pdfium.api();
    const int count = api.FPDFPage_GetAnnotCount(page);
    if (count < 0 || count > FormLimits::kMaxAnnotationsPerPage)
        return QStringLiteral("Form alan sayısı sınırı aşıldı.");
    for (int index = 0; index < count; ++index) {
        const AnnotationHandle annotation = wrapAnnotation(m_pdfium, api.FPDFPage_GetAnnot(page, index));
        if (!annotation || api.FPDFAnnot_GetSubtype(annotation.get()) != FormLimits::kWidgetSubtype)
            continue;
        const QString error = visit(page, pageIndex, index, annotation.get());
        if (!error.isEmpty())
            return error;
    }
    return {};
}

} // namespace velk
