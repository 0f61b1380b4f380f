#include "forms/FieldEntry.h"

#include "forms/FormLimits.h"
#include "forms/FormStrings.h"

#include <QList>

#include <optional>

namespace velk {

namespace {

using namespace FormLimits;

// The options with their selected states, or the refusal sentence.
QString readOptions(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION widget, QList<FieldOption>& options)
{
    const PdfiumFunctions& api = pdfium.api();
    const int count = api.FPDFAnnot_GetOptionCount(form, widget);
    if (count < 0 || count > kMaxOptions)
        return QStringLiteral("Form seçenek sayısı sınırı aşıldı.");
    for (int index = 0; index < count; ++index) {
        const std::optional<QString> label = FormStrings::optionLabel(pdfium, form, widget, index);
        if (!label)
            return QStringLiteral("Form seçenek etiketi okunamadı.");
        options.append(FieldOption{*label, bool(api.FPDFAnnot_IsOptionSelected(form, widget, index))});
    }
    return {};
}

} // namespace

FieldEntry fieldEntry(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION widget, int pageIndex,
                      int annotationIndex)
{
    const PdfiumFunctions& api = pdfium.api();
    const int type = api.FPDFAnnot_GetFormFieldType(form, widget);
    const int flags = api.FPDFAnnot_GetFormFieldFlags(form, widget);
    const bool password = (flags & kPasswordFlag) != 0;
    FormFieldEntry entry;
    entry.page = pageIndex;
    entry.annotation = annotationIndex;
    // PDFium's -1 (no field) lists as an unknown type, which is not filled.
    entry.type = type >= int(FormFieldType::Unknown) && type <= int(FormFieldType::Signature) ? FormFieldType(type)
                                                                                              : FormFieldType::Unknown;
    entry.name = FormStrings::name(pdfium, form, widget);
    entry.readOnly = (flags & kReadOnlyFlag) != 0;
    entry.password = password;
    entry.multiline = (flags & kMultilineFlag) != 0;
    entry.multiSelect = (flags & kMultiSelectFlag) != 0;
    entry.checked = bool(api.FPDFAnnot_IsChecked(form, widget));
    // A password's value never leaves the worker.
    if (!password)
        entry.value = FormStrings::value(pdfium, form, widget);
    if (type == kCheckBox || type == kRadioButton)
        entry.exportValue = FormStrings::exportValue(pdfium, form, widget);
    if (type == kComboBox || type == kListBox) {
        QList<FieldOption> options;
        const QString error = readOptions(pdfium, form, widget, options);
        if (!error.isEmpty())
            return {{}, error};
        entry.options = options;
    }
    return {entry, {}};
}

} // namespace velk
