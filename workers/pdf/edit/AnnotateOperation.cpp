#include "edit/AnnotateOperation.h"

#include "edit/EditLimits.h"
#include "edit/EditedPage.h"
#include "ErrorReply.h"
#include "edit/PagePlacement.h"
#include "pdfium/SaveNewPdf.h"

#include "worker/contract/operations/AnnotateContract.h"

#include <algorithm>
#include <array>
#include <optional>

namespace velk {

namespace {

using namespace EditLimits;

struct ShapeKind {
    const char* name;
    int subtype;
    unsigned int red, green, blue, alpha;
};

// Names compare exactly: "Highlight" is no kind.
constexpr std::array<ShapeKind, 3> kKinds = {{
    {"highlight", kAnnotationHighlight, 255, 220, 0, 128},
    {"rectangle", kAnnotationSquare, 34, 105, 210, 255},
    {"ellipse", kAnnotationCircle, 34, 105, 210, 255},
}};
constexpr float kBorderWidth = 2.0f;

const ShapeKind* findKind(const QString& name)
{
    const auto found = std::find_if(kKinds.begin(), kKinds.end(),
                                    [&](const ShapeKind& kind) { return name == QLatin1String(kind.name); });
    return found == kKinds.end() ? nullptr : &*found;
}

// The corners (left, top), (right, top), (left, bottom), (right, bottom)
// in page space; nothing when one cannot be converted.
std::optional<std::array<PagePoint, 4>> pageCorners(const Pdfium& pdfium, FPDF_PAGE page,
                                                    const AnnotateRequest& area)
{
    const std::array<std::pair<double, double>, 4> displayed = {
        {{area.left, area.top}, {area.right, area.top}, {area.left, area.bottom}, {area.right, area.bottom}}};
    std::array<PagePoint, 4> corners;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const std::optional<PagePoint> corner =
            PagePlacement::toPage(pdfium, page, displayed.at(i).first, displayed.at(i).second);
        if (!corner)
            return std::nullopt;
        corners.at(i) = *corner;
    }
    return corners;
}

FS_RECTF boundingRect(const std::array<PagePoint, 4>& corners)
{
    const auto [minX, maxX] = std::minmax({corners[0].x, corners[1].x, corners[2].x, corners[3].x});
    const auto [minY, maxY] = std::minmax({corners[0].y, corners[1].y, corners[2].y, corners[3].y});
    return FS_RECTF{float(minX), float(maxY), float(maxX), float(minY)};
}

// False as soon as one setting fails.
bool describeShape(const Pdfium& pdfium, FPDF_ANNOTATION shape, const ShapeKind& kind,
                   const std::array<PagePoint, 4>& corners)
{
    const PdfiumFunctions& api = pdfium.api();
    const FS_RECTF rect = boundingRect(corners);
    if (!api.FPDFAnnot_SetRect(shape, &rect) || !api.FPDFAnnot_SetFlags(shape, kAnnotationFlagPrint))
        return false;
    const auto setColour = [&] {
        return api.FPDFAnnot_SetColor(shape, kAnnotationColour, kind.red, kind.green, kind.blue, kind.alpha) != 0;
    };
    if (kind.subtype == kAnnotationHighlight) {
        const FS_QUADPOINTSF quad{float(corners[0].x), float(corners[0].y), float(corners[1].x), float(corners[1].y),
                                  float(corners[2].x), float(corners[2].y), float(corners[3].x), float(corners[3].y)};
        return api.FPDFAnnot_AppendAttachmentPoints(shape, &quad) && setColour();
    }
    return setColour() && api.FPDFAnnot_SetBorder(shape, 0.0f, 0.0f, kBorderWidth);
}

} // namespace

void AnnotateOperation::run(QJsonObject& reply, const Pdfium& pdfium, FPDF_DOCUMENT document,
                            const QJsonObject& json)
{
    const AnnotateRequest request = AnnotateRequest::fromJson(json);
    const std::optional<EditedPage> edited = EditedPage::openForWriting(reply, pdfium, document, request.page);
    if (!edited)
        return;
    const ShapeKind* kind = findKind(request.kind);
    if (!kind || !request.hasUsableShape()) {
        reply = errorReply(QStringLiteral("Şekil alanı geçersiz."));
        return;
    }
    const std::optional<std::array<PagePoint, 4>> corners = pageCorners(pdfium, edited->page.get(), request);
    if (!corners) {
        reply = errorReply(QStringLiteral("Şekil koordinatı dönüştürülemedi."));
        return;
    }
    AnnotationHandle shape =
        wrapAnnotation(pdfium, pdfium.api().FPDFPage_CreateAnnot(edited->page.get(), kind->subtype));
    if (!shape) {
        reply = errorReply(QStringLiteral("Şekil oluşturulamadı."));
        return;
    }
    const bool described = describeShape(pdfium, shape.get(), *kind, *corners);
    shape.reset();
    if (!described) {
        reply = errorReply(QStringLiteral("Şekil özellikleri kaydedilemedi."));
        return;
    }
    saveNewPdf(reply, pdfium, document, request.output);
}

} // namespace velk
