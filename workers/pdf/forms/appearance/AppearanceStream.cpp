#include "forms/appearance/AppearanceStream.h"

#include "forms/appearance/ContentWriter.h"
#include "forms/appearance/TextPlan.h"
#include "forms/appearance/WidgetFrame.h"

#include <cmath>

namespace velk {

namespace {

// Light blue behind the chosen options of a list box.
const QList<double> kHighlight{0.6, 0.75, 0.85};

int rightAngle(int rotation)
{
    return rotation == 90 || rotation == 180 || rotation == 270 ? rotation : 0;
}

// The matrix that turns the box [0 0 boxWidth boxHeight] onto the
// annotation rectangle, width × height as on the page.
std::array<double, 6> rotationMatrix(int rotation, double width, double height)
{
    switch (rotation) {
    case 90:
        return {0, 1, -1, 0, width, 0};
    case 180:
        return {-1, 0, 0, -1, width, height};
    case 270:
        return {0, -1, 1, 0, 0, height};
    default:
        return {1, 0, 0, 1, 0, 0};
    }
}

// Writes the glyphs and records each with the code point it stands for.
void showRun(ContentWriter& out, const TextRun& run, GlyphUse& used)
{
    QList<quint16> glyphs;
    glyphs.reserve(run.size());
    for (const ShapedChar& c : run) {
        glyphs.append(c.glyph);
        used.emplace(c.glyph, c.codePoint);
    }
    out.showGlyphs(glyphs);
}

// The text inside its marked content, clipped to the inner box.
void writeText(ContentWriter& out, const WidgetLook& look, const TextBox& inner, const TextPlan& plan,
               GlyphUse& used)
{
    out.raw("q\n");
    out.operation({inner.x, inner.y, inner.width, inner.height}, "re");
    out.raw("W n\n");
    if (!plan.highlights.isEmpty())
        out.fillColour(kHighlight);
    for (const TextBox& band : plan.highlights) {
        out.operation({band.x, band.y, band.width, band.height}, "re");
        out.raw("f\n");
    }
    out.raw("BT\n");
    out.raw(QByteArray("/") + kAppearanceFontResource + ' ');
    out.operation({plan.fontSize}, "Tf");
    out.fillColour(ContentWriter::isColour(look.textColour) ? look.textColour : QList<double>{0});
    for (const PlacedLine& line : plan.lines) {
        out.operation({1, 0, 0, 1, line.x, line.baseline}, "Tm");
        showRun(out, line.run, used);
    }
    out.raw("ET\nQ\n");
}

} // namespace

AppearanceForm buildAppearance(const WidgetLook& look, const GlyphMetrics& font, GlyphUse& used)
{
    AppearanceForm form;
    if (!std::isfinite(look.width) || !std::isfinite(look.height) || look.width <= 0 || look.height <= 0)
        return form;
    const int rotation = rightAngle(look.rotation);
    const bool turned = rotation == 90 || rotation == 270;
    form.bboxWidth = turned ? look.height : look.width;
    form.bboxHeight = turned ? look.width : look.height;
    form.matrix = rotationMatrix(rotation, look.width, look.height);

    ContentWriter out;
    WidgetFrame::draw(out, look, form.bboxWidth, form.bboxHeight);
    const double border = WidgetFrame::drawnBorderWidth(look, form.bboxWidth, form.bboxHeight);
    const double padding = border > 0 ? 2 * border : 1;
    const TextBox inner{padding, padding, form.bboxWidth - 2 * padding, form.bboxHeight - 2 * padding};
    out.raw("/Tx BMC\n");
    // A box too small for any text keeps its frame and an empty text part.
    if (inner.width > 2 && inner.height > 0)
        writeText(out, look, inner, TextPlanner::plan(look, inner, form.bboxWidth, font), used);
    out.raw("EMC\n");
    form.content = out.content();
    return form;
}

} // namespace velk
