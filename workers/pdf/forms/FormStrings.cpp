#include "forms/FormStrings.h"

#include "forms/FormLimits.h"

#include <QList>

#include <functional>

namespace velk::FormStrings {

namespace {

using namespace FormLimits;
using Reader = std::function<unsigned long(FPDF_WCHAR* buffer, unsigned long length)>;

std::optional<QString> readBounded(const Reader& read, unsigned long maxBytes)
{
    const unsigned long bytes = read(nullptr, 0);
    if (bytes < kMinStringBytes || bytes > maxBytes || bytes % 2 != 0)
        return std::nullopt;
    QList<FPDF_WCHAR> buffer(qsizetype(bytes / 2), 0);
    if (read(buffer.data(), bytes) != bytes)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), buffer.size() - 1);
}

using FieldGetter = unsigned long (*)(FPDF_FORMHANDLE, FPDF_ANNOTATION, FPDF_WCHAR*, unsigned long);

QString fieldString(FieldGetter getter, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation)
{
    const Reader read = [&](FPDF_WCHAR* buffer, unsigned long length) {
        return getter(form, annotation, buffer, length);
    };
    return readBounded(read, kMaxFieldStringBytes).value_or(QString());
}

} // namespace

QString name(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation)
{
    return fieldString(pdfium.api().FPDFAnnot_GetFormFieldName, form, annotation);
}

QString value(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation)
{
    return fieldString(pdfium.api().FPDFAnnot_GetFormFieldValue, form, annotation);
}

QString exportValue(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation)
{
    return fieldString(pdfium.api().FPDFAnnot_GetFormFieldExportValue, form, annotation);
}

QString withUniformLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::optional<QString> optionLabel(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION annotation,
                                   int index)
{
    const auto getter = pdfium.api().FPDFAnnot_GetOptionLabel;
    const Reader read = [&](FPDF_WCHAR* buffer, unsigned long length) {
        return getter(form, annotation, index, buffer, length);
    };
    return readBounded(read, kMaxOptionLabelBytes);
}

} // namespace velk::FormStrings
