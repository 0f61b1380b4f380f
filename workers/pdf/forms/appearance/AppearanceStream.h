#pragma once

// Builds the normal appearance of one filled text, combo or list widget:
// background, border and the text drawn in the embedded Unicode font
// (resource kAppearanceFontResource, Identity-H, two-byte glyph codes), so
// every reader shows the letters the value holds. Pure: measures through
// GlyphMetrics and records each glyph it draws in the GlyphUse.

#include "forms/appearance/GlyphMetrics.h"
#include "forms/appearance/WidgetLook.h"

#include <QByteArray>

#include <array>

namespace velk {

struct AppearanceForm {
    QByteArray content;
    // /BBox [0 0 width height], in the widget's own (rotated) orientation.
    double bboxWidth = 0;
    double bboxHeight = 0;
    // /Matrix turning the box by the widget's rotation.
    std::array<double, 6> matrix{1, 0, 0, 1, 0, 0};
};

AppearanceForm buildAppearance(const WidgetLook& look, const GlyphMetrics& font, GlyphUse& used);

} // namespace velk
