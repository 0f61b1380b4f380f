#pragma once

// Turns PDF user-space rectangles of one loaded page into the coordinates
// replies place things in: points from the top-left corner of the page as
// displayed, with its /Rotate and crop box applied (PageRects). PDFium's own
// page-to-device mapping does the work, at 1/64 point, so what is placed
// matches what "render" draws. Worker's single thread; borrows the page.

#include "pdfium/Pdfium.h"
#include "inspection/PageSize.h"

#include <QRectF>

#include <optional>

namespace velk {

class PageDisplay {
public:
    PageDisplay(const Pdfium& pdfium, FPDF_PAGE page, const PageSize& size);

    // The rectangle spanned by two opposite corners in user space, clipped
    // to the page; nothing when PDFium cannot map it or nothing of it is on
    // the page.
    std::optional<QRectF> map(double x1, double y1, double x2, double y2) const;
    // A point in user space, not clipped.
    std::optional<QPointF> mapPoint(double x, double y) const;
    // The other way: a point of the page as displayed, in user space.
    std::optional<QPointF> unmapPoint(const QPointF& displayed) const;

    const PageSize& size() const { return m_size; }

private:
    const Pdfium& m_pdfium;
    FPDF_PAGE m_page;
    PageSize m_size;
};

} // namespace velk
