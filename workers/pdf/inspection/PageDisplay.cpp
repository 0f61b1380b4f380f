#include "inspection/PageDisplay.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

// Device units per point: PDFium's mapping answers in whole device pixels.
// 20,000 points × 64 stays far inside an int.
constexpr int kUnitsPerPoint = 64;

} // namespace

PageDisplay::PageDisplay(const Pdfium& pdfium, FPDF_PAGE page, const PageSize& size)
    : m_pdfium(pdfium)
    , m_page(page)
    , m_size(size)
{
}

std::optional<QPointF> PageDisplay::mapPoint(double x, double y) const
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    const int width = int(std::ceil(m_size.width * kUnitsPerPoint));
    const int height = int(std::ceil(m_size.height * kUnitsPerPoint));
    int deviceX = 0;
    int deviceY = 0;
    if (!m_pdfium.api().FPDF_PageToDevice(m_page, 0, 0, width, height, 0, x, y, &deviceX, &deviceY))
        return std::nullopt;
    return QPointF(double(deviceX) * m_size.width / width, double(deviceY) * m_size.height / height);
}

std::optional<QPointF> PageDisplay::unmapPoint(const QPointF& displayed) const
{
    const int width = int(std::ceil(m_size.width * kUnitsPerPoint));
    const int height = int(std::ceil(m_size.height * kUnitsPerPoint));
    // The caller's point lies on the page (PageRects), so this stays in range.
    const int deviceX = int(std::lround(displayed.x() * width / m_size.width));
    const int deviceY = int(std::lround(displayed.y() * height / m_size.height));
    double x = 0;
    double y = 0;
    if (!m_pdfium.api().FPDF_DeviceToPage(m_page, 0, 0, width, height, 0, deviceX, deviceY, &x, &y))
        return std::nullopt;
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

std::optional<QRectF> PageDisplay::map(double x1, double y1, double x2, double y2) const
{
    const std::optional<QPointF> a = mapPoint(x1, y1);
    const std::optional<QPointF> b = mapPoint(x2, y2);
    if (!a || !b)
        return std::nullopt;
    const double left = std::clamp(std::min(a->x(), b->x()), 0.0, m_size.width);
    const double right = std::clamp(std::max(a->x(), b->x()), 0.0, m_size.width);
    const double top = std::clamp(std::min(a->y(), b->y()), 0.0, m_size.height);
    const double bottom = std::clamp(std::max(a->y(), b->y()), 0.0, m_size.height);
    if (right <= left || bottom <= top)
        return std::nullopt;
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace velk
