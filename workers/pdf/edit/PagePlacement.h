#pragma once

// Where a point of the displayed page lies on the PDF page, and the box the
// edits must stay inside. Positions arrive normalised to the page as the
// user saw it (0..1, y growing downwards); PDFium's device mapping applies
// the page's own /Rotate, so the result follows the displayed orientation.

#include "pdfium/Pdfium.h"

#include <optional>

namespace velk {

// The crop box, else the media box, in page space, left below right and
// bottom below top whatever order the file wrote the corners in.
struct PageBox {
    float left = 0;
    float bottom = 0;
    float right = 0;
    float top = 0;
};

struct PagePoint {
    double x = 0;
    double y = 0;
};

namespace PagePlacement {

// x and y must already lie in 0..1: they become device points
// (⌊x × 10,000⌋, ⌊y × 10,000⌋) of a 10,000-point square. Nothing when
// PDFium cannot convert.
std::optional<PagePoint> toPage(const Pdfium& pdfium, FPDF_PAGE page, double x, double y);

// Nothing when the page has neither box with finite edges.
std::optional<PageBox> box(const Pdfium& pdfium, FPDF_PAGE page);

} // namespace PagePlacement

} // namespace velk
