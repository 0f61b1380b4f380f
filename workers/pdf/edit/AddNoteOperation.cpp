#include "edit/AddNoteOperation.h"

#include "edit/EditLimits.h"
#include "ErrorReply.h"
#include "edit/InsertionTarget.h"
#include "pdfium/PdfiumHandles.h"
#include "pdfium/SaveNewPdf.h"

#include <algorithm>

namespace velk {

namespace {

// The note's yellow, opaque.
constexpr unsigned int kRed = 255;
constexpr unsigned int kGreen = 205;
constexpr unsigned int kBlue = 72;
constexpr unsigned int kAlpha = 255;

// A square of up to 24 points starting at the clicked point, moved back
// inside the box when the point is too close to its right or top edge.
FS_RECTF noteSquare(const PagePoint& point, const PageBox& box)
{
    const float side = std::min({EditLimits::kNoteSide, box.right - box.left, box.top - box.bottom});
    const float left = std::max(box.left, std::min(float(point.x), box.right - side));
    const float bottom = std::max(box.bottom, std::min(float(point.y), box.top - side));
    return FS_RECTF{left, bottom + side, left + side, bottom};
}

// False as soon as one of the four settings fails.
bool describeNote(const Pdfium& pdfium, FPDF_ANNOTATION note, const InsertionTarget& target)
{
    const PdfiumFunctions& api = pdfium.api();
    const FS_RECTF square = noteSquare(target.point, target.box);
    return api.FPDFAnnot_SetRect(note, &square)
        && api.FPDFAnnot_SetStringValue(note, "Contents", reinterpret_cast<FPDF_WIDESTRING>(target.text.utf16()))
        && api.FPDFAnnot_SetColor(note, EditLimits::kAnnotationColour, kRed, kGreen, kBlue, kAlpha)
        && api.FPDFAnnot_SetFlags(note, EditLimits::kAnnotationFlagPrint);
}

} // namespace

void AddNoteOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document, const QJsonObject& request)
{
    const std::optional<InsertionTarget> target = InsertionTarget::prepare(reply, pdfium, document, request);
    if (!target)
        return;
    AnnotationHandle note =
        wrapAnnotation(pdfium, pdfium.api().FPDFPage_CreateAnnot(target->page.get(), EditLimits::kAnnotationText));
    if (!note) {
        reply = errorReply(QStringLiteral("Not oluşturulamadı."));
        return;
    }
    const bool written = describeNote(pdfium, note.get(), *target);
    note.reset();
    if (!written) {
        reply = errorReply(QStringLiteral("Not bilgisi PDF'ye yazılamadı."));
        return;
    }
    saveNewPdf(reply, pdfium, document, target->output);
}

} // namespace velk
