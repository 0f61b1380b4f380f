#include "forms/FormsOperation.h"

#include "forms/appearance/AppearanceRewrite.h"
#include "ErrorReply.h"
#include "forms/FieldEntry.h"
#include "forms/FieldUpdate.h"
#include "forms/FormEnvironment.h"
#include "forms/FormLimits.h"
#include "pdfium/ProtectedDocument.h"
#include "pdfium/SaveNewPdf.h"

#include "worker/contract/operations/FormsContract.h"

#include <QSet>

#include <optional>
#include <set>

namespace velk {

namespace {

using namespace FormLimits;

constexpr int kAcroForm = 1;

const QString kNotAcroForm = QStringLiteral("Yalnız standart AcroForm alanları desteklenir; XFA formu desteklenmiyor.");
const QString kNoEnvironment = QStringLiteral("Form ortamı başlatılamadı.");

QString widgetKey(qint64 pageIndex, qint64 annotationIndex)
{
    return QString::number(pageIndex) + QLatin1Char(':') + QString::number(annotationIndex);
}

bool isReadOnly(const Pdfium& pdfium, FPDF_FORMHANDLE form, FPDF_ANNOTATION widget)
{
    return (pdfium.api().FPDFAnnot_GetFormFieldFlags(form, widget) & kReadOnlyFlag) != 0;
}

// The widget of an applied text, combo or list update, whose field gets
// new appearances after saving; none for buttons.
std::optional<FilledWidget> filledWidget(const Pdfium& pdfium, const FieldTarget& target, const FieldChange& update,
                                         int pageIndex, int annotationIndex)
{
    FilledWidget filled{pageIndex, annotationIndex, WidgetKind::Text, {}};
    switch (pdfium.api().FPDFAnnot_GetFormFieldType(target.form, target.widget)) {
    case kTextField:
        return filled;
    case kComboBox:
        filled.kind = WidgetKind::Combo;
        break;
    case kListBox:
        filled.kind = WidgetKind::List;
        break;
    default:
        return std::nullopt;
    }
    // Applied, so every entry is an option index.
    for (const qint64 index : update.selection.value_or(QList<qint64>()))
        filled.selection << int(index);
    return filled;
}

struct FillProgress {
    QSet<QString> applied;
    QList<FilledWidget> filled;
};

// Applies, in list order, every update that names this widget.
QString applyUpdates(const Pdfium& pdfium, const FieldTarget& target, const QList<FieldChange>& updates,
                     int pageIndex, int annotationIndex, FillProgress& progress)
{
    const QString key = widgetKey(pageIndex, annotationIndex);
    for (const FieldChange& update : updates) {
        if (widgetKey(update.page, update.annotation) != key)
            continue;
        if (progress.applied.contains(key) || isReadOnly(pdfium, target.form, target.widget))
            return QStringLiteral("Tekrarlanan veya salt okunur form alanı değiştirilemez.");
        const QString error = applyFieldUpdate(pdfium, target, update);
        if (!error.isEmpty())
            return error;
        progress.applied.insert(key);
        if (const std::optional<FilledWidget> filled =
                filledWidget(pdfium, target, update, pageIndex, annotationIndex))
            progress.filled << *filled;
    }
    return {};
}

// The page indices named by the updates that lie inside the document.
std::set<int> pagesNamed(const QList<FieldChange>& updates, int pageCount)
{
    std::set<int> pages;
    for (const FieldChange& update : updates) {
        if (update.page >= 0 && update.page < pageCount)
            pages.insert(int(update.page));
    }
    return pages;
}

QString fill(const Pdfium& pdfium, FPDF_DOCUMENT document, FormEnvironment& environment,
             const QList<FieldChange>& updates, FillProgress& progress)
{
    const auto visit = [&](FPDF_PAGE page, int pageIndex, int annotationIndex, FPDF_ANNOTATION widget) {
        return applyUpdates(pdfium, {environment.form(), page, widget}, updates, pageIndex, annotationIndex,
                            progress);
    };
    for (const int pageIndex : pagesNamed(updates, pdfium.api().FPDF_GetPageCount(document))) {
        const QString error = environment.walkPage(pageIndex, visit);
        if (!error.isEmpty())
            return error;
    }
    if (progress.applied.size() != updates.size())
        return QStringLiteral("Bazı form alanları bulunamadı; çıktı kaydedilmedi.");
    return {};
}

// PDFium draws filled text with the field's own simple font and loses the
// letters it cannot encode; the saved bytes get new appearances in the
// embedded Unicode font before anything reaches the output.
void saveWithAppearances(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QString& output,
                         const QList<FilledWidget>& filled)
{
    // A refused output is refused before the work.
    if (!acceptsNewOutput(reply, output))
        return;
    const std::optional<QByteArray> saved = savePdfToMemory(reply, pdfium, document);
    if (!saved)
        return;
    const RewrittenPdf rewritten = rewriteAppearances(*saved, filled);
    if (!rewritten.error.isEmpty()) {
        reply = errorReply(rewritten.error);
        return;
    }
    writeNewPdf(reply, rewritten.bytes, output);
}

} // namespace

void FormsOperation::fields(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject&)
{
    const PdfiumFunctions& api = pdfium.api();
    const int formType = api.FPDF_GetFormType(document);
    if (formType == 0) {
        reply = FieldsReply().toJson();
        return;
    }
    if (formType != kAcroForm) {
        reply = errorReply(kNotAcroForm);
        return;
    }
    FormEnvironment environment(pdfium, document);
    if (!environment.form()) {
        reply = errorReply(kNoEnvironment);
        return;
    }
    FieldsReply listing;
    QList<FormFieldEntry>& fields = listing.fields;
    const auto visit = [&](FPDF_PAGE, int pageIndex, int annotationIndex, FPDF_ANNOTATION widget) {
        const FieldEntry entry = fieldEntry(pdfium, environment.form(), widget, pageIndex, annotationIndex);
        if (!entry.error.isEmpty())
            return entry.error;
        fields.append(entry.entry);
        return fields.size() > kMaxListedFields ? QStringLiteral("Form listesi 1000 alan sınırını aşıyor.")
                                                : QString();
    };
    const int pageCount = api.FPDF_GetPageCount(document);
    for (int pageIndex = 0; pageIndex < pageCount; ++pageIndex) {
        const QString error = environment.walkPage(pageIndex, visit);
        if (!error.isEmpty()) {
            reply = errorReply(error);
            return;
        }
    }
    reply = listing.toJson();
}

void FormsOperation::fillFields(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                                const QJsonObject& json)
{
    if (pdfium.api().FPDF_GetFormType(document) != kAcroForm) {
        reply = errorReply(kNotAcroForm);
        return;
    }
    const std::optional<FillFieldsRequest> request = FillFieldsRequest::fromJson(json);
    if (!readProtection(pdfium, document).allowsFormFill() || !request) {
        reply = errorReply(QStringLiteral("İmzalı/şifreli form veya form değişiklik listesi desteklenmiyor."));
        return;
    }
    FormEnvironment environment(pdfium, document);
    if (!environment.form()) {
        reply = errorReply(kNoEnvironment);
        return;
    }
    FillProgress progress;
    const QString error = fill(pdfium, document, environment, request->updates, progress);
    if (!error.isEmpty()) {
        reply = errorReply(error);
        return;
    }
    // Saved while the environment still stands; it is left afterwards.
    const QString& output = request->output;
    if (progress.filled.isEmpty())
        saveNewPdf(reply, pdfium, document, output);
    else
        saveWithAppearances(reply, pdfium, document, output, progress.filled);
}

} // namespace velk
