#include "forms/FieldEntry.h"

#include "forms/FormLimits.h"
#include "forms/FormStrings.h"

#include <QJsonArray>

#include <optional>

namespace velk {

namespace {

using namespace FormLimits;

// The options with their selected states, or the refusal sentence.
FieldEntry options(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION widget)
{
    const PdfiumFunctions& api = pdfium.api();
    const int count = api.FPDFAnnot_GetOptionCount(form, widget);
    if (count < 0 || count > kMaxOptions)
        return {{}, QStringLiteral("Form seçenek sayısı sınırı aşıldı.")};
    QJsonArray list;
    for (int index = 0; index < count; ++index) {
        const std::optional<QString> label = FormStrings::optionLabel(pdfium, form, widget, index);
        if (!label)
            return {{}, QStringLiteral("Form seçenek etiketi okunamadı.")};
        const bool selected = api.FPDFAnnot_IsOptionSelected(form, widget, index);
        list.append(QJsonObject{{QStringLiteral("label"), *label}, {QStringLiteral("selected"), selected}});
    }
    return {QJsonObject{{QStringLiteral("options"), list}}, {}};
}

} // namespace

FieldEntry fieldEntry(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION widget, int pageIndex,
                      int annotationIndex)
{
    const PdfiumFunctions& api = pdfium.api();
    const int type = api.FPDFAnnot_GetFormFieldType(form, widget);
    const int flags = api.FPDFAnnot_GetFormFieldFlags(form, widget);
    const bool password = (flags & kPasswordFlag) != 0;
    QJsonObject entry{{QStringLiteral("page"), pageIndex},
                      {QStringLiteral("annotation"), annotationIndex},
                      {QStringLiteral("type"), type},
                      {QStringLiteral("name"), FormStrings::name(pdfium, form, widget)},
                      {QStringLiteral("readOnly"), (flags & kReadOnlyFlag) != 0},
                      {QStringLiteral("password"), password},
                      {QStringLiteral("multiline"), (flags & kMultilineFlag) != 0},
                      {QStringLiteral("multiSelect"), (flags & kMultiSelectFlag) != 0},
                      {QStringLiteral("checked"), bool(api.FPDFAnnot_IsChecked(form, widget))}};
    // A password's value never leaves the worker.
    if (!password)
        entry.insert(QStringLiteral("value"), FormStrings::value(pdfium, form, widget));
    if (type == kCheckBox || type == kRadioButton)
        entry.insert(QStringLiteral("exportValue"), FormStrings::exportValue(pdfium, form, widget));
    if (type == kComboBox || type == kListBox) {
        const FieldEntry listed = options(pdfium, form, widget);
        if (!listed.error.isEmpty())
            return listed;
        entry.insert(QStringLiteral("options"), listed.entry.value(QStringLiteral("options")));
    }
    return {entry, {}};
}

} // namespace velk
