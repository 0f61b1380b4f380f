#include "edit/PagePlacement.h"

#include "edit/EditLimits.h"

#include <algorithm>
#include <cmath>

namespace velk::PagePlacement {

namespace {

// Callers bound the position to 0..1 first; anything else is refused here
// too, so the conversion to int cannot overflow.
std::optional<int> devicePoint(double normalised)
{
    if (!(normalised >= 0.0 && normalised <= 1.0))
        return std::nullopt;
    return int(std::floor(normalised * EditLimits::kDeviceExtent));
}

bool isFinite(const PageBox& box)
{
    return std::isfinite(box.left) && std::isfinite(box.bottom) && std::isfinite(box.right) && std::isfinite(box.top);
}

// A PDF rectangle may name any two opposite corners; PDFium hands the
// numbers over as written, and a box read backwards would refuse every
// line and push every note off the page.
PageBox normalised(const PageBox& box)
{
    return PageBox{std::min(box.left, box.right), std::min(box.bottom, box.top), std::max(box.left, box.right),
                   std::max(box.bottom, box.top)};
}

} // namespace

std::optional<PagePoint> toPage(const Pdfium& pdfium, FPDF_PAGE page, double x, double y)
{
    const std::optional<int> deviceX = devicePoint(x);
    const std::optional<int> deviceY = devicePoint(y);
    if (!deviceX || !deviceY)
        return std::nullopt;
    PagePoint point;
    if (!pdfium.api().FPDF_DeviceToPage(page, 0, 0, EditLimits::kDeviceExtent, EditLimits::kDeviceExtent, 0, *deviceX,
                                        *deviceY, &point.x, &point.y)
        || !std::isfinite(point.x) || !std::isfinite(point.y))
        return std::nullopt;
    return point;
}

std::optional<PageBox> box(const Pdfium& pdfium, FPDF_PAGE page)
{
    const PdfiumFunctions& api = pdfium.api();
    PageBox result;
    // A box with an infinite side would let any edit through its bounds.
    if (api.FPDFPage_GetCropBox(page, &result.left, &result.bottom, &result.right, &result.top) && isFinite(result))
        return normalised(result);
    if (api.FPDFPage_GetMediaBox(page, &result.left, &result.bottom, &result.right, &result.top) && isFinite(result))
        return normalised(result);
    return std::nullopt;
}

} // namespace velk::PagePlacement
