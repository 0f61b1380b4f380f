#include "inspection/NotesOperation.h"

#include "ErrorReply.h"
#include "inspection/InspectionLimits.h"
#include "pdfium/PdfiumHandles.h"

#include "worker/contract/operations/NotesContract.h"

#include <QList>

#include <optional>

namespace velk {

namespace {

using namespace InspectionLimits;

// PDFium's subtype number of a text note.
constexpr int kTextAnnotationSubtype = 1;
const char kContentsKey[] = "Contents";

// The "Contents" of a text note, without its terminating zero; nothing when
// the annotation is not a text note or its size is out of bounds, odd, or
// changed between the two reads.
std::optional<QString> noteText(const Pdfium& pdfium, FPDF_ANNOTATION annotation)
{
    const PdfiumFunctions& api = pdfium.api();
    if (api.FPDFAnnot_GetSubtype(annotation) != kTextAnnotationSubtype)
        return std::nullopt;
    const unsigned long bytes = api.FPDFAnnot_GetStringValue(annotation, kContentsKey, nullptr, 0);
    if (bytes < kMinNoteBytes || bytes > kMaxNoteBytes || bytes % 2 != 0)
        return std::nullopt;
    QList<FPDF_WCHAR> buffer(qsizetype(bytes / 2), 0);
    if (api.FPDFAnnot_GetStringValue(annotation, kContentsKey, buffer.data(), bytes) != bytes)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), buffer.size() - 1);
}

// Opens the annotation, appends it when it is a readable text note, and
// closes it again.
void appendNote(const Pdfium& pdfium, FPDF_PAGE page, int pageIndex, int index, QList<NoteEntry>& notes)
{
    const AnnotationHandle annotation = wrapAnnotation(pdfium, pdfium.api().FPDFPage_GetAnnot(page, index));
    if (!annotation)
        return;
    if (const std::optional<QString> text = noteText(pdfium, annotation.get()))
        notes.append(NoteEntry{pageIndex, *text});
}

// Appends the page's notes; false as soon as the list holds more than the
// limit.
bool appendPageNotes(const Pdfium& pdfium, FPDF_PAGE page, int pageIndex, QList<NoteEntry>& notes)
{
    const int count = pdfium.api().FPDFPage_GetAnnotCount(page);
    for (int index = 0; index < count; ++index) {
        appendNote(pdfium, page, pageIndex, index, notes);
        if (notes.size() > kMaxNotes)
            return false;
    }
    return true;
}

} // namespace

void NotesOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject&)
{
    const PdfiumFunctions& api = pdfium.api();
    const int pageCount = api.FPDF_GetPageCount(document);
    NotesReply listed;
    QList<NoteEntry>& notes = listed.notes;
    for (int pageIndex = 0; pageIndex < pageCount; ++pageIndex) {
        const PageHandle page = wrapPage(pdfium, api.FPDF_LoadPage(document, pageIndex));
        if (!page) {
            reply = errorReply(QStringLiteral("Notlar için sayfa açılamadı."), 0);
            return;
        }
        if (!appendPageNotes(pdfium, page.get(), pageIndex, notes)) {
            reply = errorReply(QStringLiteral("Not listesi 1000 kayıt sınırını aşıyor."), 0);
            return;
        }
    }
    reply = listed.toJson();
}

} // namespace velk
