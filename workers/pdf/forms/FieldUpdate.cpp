#include "forms/FieldUpdate.h"

#include "forms/FormLimits.h"
#include "forms/FormStrings.h"

#include <QList>

namespace velk {

namespace {

using namespace FormLimits;

QString applyText(const Pdfium& pdfium, const FieldTarget& target, const std::optional<QString>& requested)
{
    const PdfiumFunctions& api = pdfium.api();
    if (!requested)
        return QStringLiteral("Form metni geçersiz.");
    const QString& text = *requested;
    if (text.size() > kMaxTextUnits || text.contains(QChar(0)))
        return QStringLiteral("Form metin alanı düzenlenemedi.");
    if (!api.FORM_SetFocusedAnnot(target.form, target.widget) || !api.FORM_SelectAllText(target.form, target.page))
        return QStringLiteral("Form metin alanı düzenlenemedi.");
    api.FORM_ReplaceSelection(target.form, target.page, reinterpret_cast<FPDF_WIDESTRING>(text.utf16()));
    api.FORM_ForceToKillFocus(target.form);
    // A field with a maximum length keeps only its first characters. A
    // multi-line field may spell its line breaks differently; a one-line
    // field drops them, which is a loss like any other.
    const QString stored = FormStrings::value(pdfium, target.form, target.widget);
    const bool multiline = (api.FPDFAnnot_GetFormFieldFlags(target.form, target.widget) & kMultilineFlag) != 0;
    if (multiline ? FormStrings::withUniformLineBreaks(stored) != FormStrings::withUniformLineBreaks(text)
                  : stored != text)
        return QStringLiteral("Form metni tam kaydedilemedi; alanın karakter sınırını kontrol edin.");
    return {};
}

QString applyCheck(const Pdfium& pdfium, const FieldTarget& target, int type, std::optional<bool> requested)
{
    const PdfiumFunctions& api = pdfium.api();
    if (!requested)
        return QStringLiteral("Form seçim değeri geçersiz.");
    const bool wanted = *requested;
    if (type == kRadioButton && !wanted)
        return QStringLiteral("Radyo alanında yalnız seçilecek düğmeyi değiştirin.");
    if (bool(api.FPDFAnnot_IsChecked(target.form, target.widget)) != wanted) {
        const bool focused = api.FORM_SetFocusedAnnot(target.form, target.widget);
        const bool pressed = focused && api.FORM_OnChar(target.form, target.page, 0x20, 0);
        api.FORM_ForceToKillFocus(target.form);
        if (!pressed)
            return QStringLiteral("Form seçim kutusu değiştirilemedi.");
    }
    if (bool(api.FPDFAnnot_IsChecked(target.form, target.widget)) != wanted)
        return QStringLiteral("Form seçimi doğrulanamadı.");
    return {};
}

// The requested indices as a bitmap over the options, or the refusal.
QString requestedOptions(const QList<qint64>& selection, int count, QList<bool>& chosen)
{
    chosen = QList<bool>(count, false);
    for (const qint64 index : selection) {
        if (index < 0 || index >= count || chosen[qsizetype(index)])
            return QStringLiteral("Form seçeneği sınır dışında.");
        chosen[qsizetype(index)] = true;
    }
    return {};
}

QString applyChoice(const Pdfium& pdfium, const FieldTarget& target, int type,
                    const std::optional<QList<qint64>>& requested)
{
    const PdfiumFunctions& api = pdfium.api();
    const int count = api.FPDFAnnot_GetOptionCount(target.form, target.widget);
    const bool multiSelect = (api.FPDFAnnot_GetFormFieldFlags(target.form, target.widget) & kMultiSelectFlag) != 0;
    const QList<qint64> selection = requested.value_or(QList<qint64>());
    if (!requested || count < 0 || count > kMaxOptions || selection.size() > count
        || (type == kComboBox && selection.size() != 1) || (!multiSelect && selection.size() > 1)
        || !api.FORM_SetFocusedAnnot(target.form, target.widget)) {
        api.FORM_ForceToKillFocus(target.form);
        return QStringLiteral("Form seçenek isteği geçersiz.");
    }
    QList<bool> chosen;
    QString error = requestedOptions(selection, count, chosen);
    if (error.isEmpty() && type == kListBox) {
        for (int index = 0; index < count; ++index)
            api.FORM_SetIndexSelected(target.form, target.page, index, false);
    }
    for (int index = 0; error.isEmpty() && index < count; ++index) {
        if (chosen[index] && !api.FORM_SetIndexSelected(target.form, target.page, index, true))
            error = QStringLiteral("Form seçeneği uygulanamadı.");
    }
    api.FORM_ForceToKillFocus(target.form);
    for (int index = 0; error.isEmpty() && index < count; ++index) {
        if (bool(api.FPDFAnnot_IsOptionSelected(target.form, target.widget, index)) != chosen[index])
            error = QStringLiteral("Form seçenek kaydı doğrulanamadı.");
    }
    return error;
}

} // namespace

QString applyFieldUpdate(const Pdfium& pdfium, const FieldTarget& target, const FieldChange& update)
{
    const int type = pdfium.api().FPDFAnnot_GetFormFieldType(target.form, target.widget);
    switch (type) {
    case kTextField:
        return applyText(pdfium, target, update.value);
    case kCheckBox:
    case kRadioButton:
        return applyCheck(pdfium, target, type, update.checked);
    case kComboBox:
    case kListBox:
        return applyChoice(pdfium, target, type, update.selection);
    default:
        return QStringLiteral("Bu alan türü doldurulamıyor; imza için E-imza menüsünü kullanın.");
    }
}

} // namespace velk
