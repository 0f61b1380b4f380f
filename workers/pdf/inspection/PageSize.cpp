#include "inspection/PageSize.h"

#include "inspection/InspectionLimits.h"

#include <cmath>

namespace velk {

namespace {

bool isValidSide(double side)
{
    return std::isfinite(side) && side > 0.0 && side <= InspectionLimits::kMaxPageSide;
}

} // namespace

bool PageSize::isValid() const
{
    return isValidSide(width) && isValidSide(height);
}

std::optional<PageSize> PageSize::read(const Pdfium& pdfium, FPDF_DOCUMENT document, int index)
{
    PageSize size;
    if (!pdfium.api().FPDF_GetPageSizeByIndex(document, index, &size.width, &size.height) || !size.isValid())
        return std::nullopt;
    return size;
}

} // namespace velk
