#include "forms/appearance/TextPlan.h"

#include "forms/appearance/AppearanceLimits.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace velk::TextPlanner {

namespace {

using namespace AppearanceLimits;

// Text keeps one point of air to the clip box's left and right.
constexpr double kSideMargin = 1;

// The font's extent above and below the baseline, with ordinary values in
// place of any a font reports that would collapse or invert a line.
struct VerticalMetrics {
    double ascent = 800;
    double descent = -200;

    explicit VerticalMetrics(const GlyphMetrics& font)
    {
        const double a = font.ascent();
        const double d = font.descent();
        if (std::isfinite(a) && std::isfinite(d) && a > d && a - d < 100000) {
            ascent = a;
            descent = d;
        }
    }
    // One line's height at the size, in points.
    double lineHeight(double size) const { return size * (ascent - descent) / 1000; }
};

// Where the text of the layout is measured: inner less the side margins.
struct Layout {
    const WidgetLook& look;
    TextBox inner;
    VerticalMetrics metrics;
    double textLeft() const { return inner.x + kSideMargin; }
    double textWidth() const { return inner.width - 2 * kSideMargin; }
    double top() const { return inner.y + inner.height; }
};

// The size the form asks for; 0 to leave it to the box.
double writtenSize(const WidgetLook& look)
{
    if (!std::isfinite(look.fontSize) || look.fontSize <= 0)
        return 0;
    return std::min(look.fontSize, kLargestFontSize);
}

// Start of a line width points wide by the quadding; text too wide for
// the box starts at the left so that its beginning shows.
double quaddedX(const Layout& layout, double width)
{
    const double room = layout.textWidth() - width;
    if (room <= 0 || layout.look.quadding == 0)
        return layout.textLeft();
    return layout.textLeft() + (layout.look.quadding == 1 ? room / 2 : layout.look.quadding == 2 ? room : 0);
}

// The baseline of one line centred in the box's height.
double centredBaseline(const Layout& layout, double size)
{
    const double room = layout.inner.height - layout.metrics.lineHeight(size);
    return layout.inner.y + room / 2 - size * layout.metrics.descent / 1000;
}

// The size filling the box's height, not above the automatic largest, and
// small enough that an em of widest (thousandths) fits into room points.
double fittedSize(const Layout& layout, double widest, double room)
{
    double size = std::min(kLargestAutoSize, layout.inner.height / layout.metrics.lineHeight(1));
    if (widest > 0 && widest * size / 1000 > room)
        size = room * 1000 / widest;
    return std::max(size, kSmallestAutoSize);
}

TextPlan singleLine(const Layout& layout, const TextRun& run)
{
    const double widthUnits = TextRuns::width(run);
    const double written = writtenSize(layout.look);
    const double size = written > 0 ? written : fittedSize(layout, widthUnits, layout.textWidth());
    TextPlan plan{size, {}, {}};
    plan.lines.append({run, quaddedX(layout, widthUnits * size / 1000), centredBaseline(layout, size)});
    return plan;
}

// One character centred in each of maxLength cells across the whole box.
TextPlan comb(const Layout& layout, const TextRun& run, double boxWidth)
{
    const double cell = boxWidth / layout.look.maxLength;
    const TextRun shown = run.first(std::min<qsizetype>(run.size(), layout.look.maxLength));
    const double written = writtenSize(layout.look);
    const double size = written > 0 ? written : fittedSize(layout, TextRuns::widestAdvance(shown), cell);
    TextPlan plan{size, {}, {}};
    const double baseline = centredBaseline(layout, size);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const double x = double(i) * cell + (cell - shown[i].advance * size / 1000) / 2;
        plan.lines.append({TextRun{shown[i]}, x, baseline});
    }
    return plan;
}

// Lines from the top, each quadded; lines below the box are left out.
void placeFromTop(const Layout& layout, const QList<TextRun>& lines, TextPlan& plan)
{
    const double lineHeight = layout.metrics.lineHeight(plan.fontSize);
    const double ascent = plan.fontSize * layout.metrics.ascent / 1000;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double lineTop = layout.top() - double(i) * lineHeight;
        if (lineTop <= layout.inner.y)
            break;
        const double x = quaddedX(layout, TextRuns::width(lines[i]) * plan.fontSize / 1000);
        plan.lines.append({lines[i], x, lineTop - ascent});
    }
}

TextPlan multiline(const Layout& layout, const QList<char32_t>& text, const GlyphMetrics& font)
{
    QList<TextRun> paragraphs;
    for (const QList<char32_t>& paragraph : TextRuns::paragraphs(text))
        paragraphs.append(TextRuns::shape(paragraph, font));
    const auto wrapped = [&](double size) {
        return TextRuns::wrap(paragraphs, layout.textWidth() * 1000 / size, kMaxWrappedLines);
    };
    const double written = writtenSize(layout.look);
    double size = written > 0 ? written : kLargestAutoSize;
    QList<TextRun> lines = wrapped(size);
    // Automatic size: shrink in half points until every line fits.
    while (written <= 0 && size > kSmallestAutoSize
           && double(lines.size()) * layout.metrics.lineHeight(size) > layout.inner.height) {
        size = std::max(size - kAutoSizeStep, kSmallestAutoSize);
        lines = wrapped(size);
    }
    TextPlan plan{size, {}, {}};
    placeFromTop(layout, lines, plan);
    return plan;
}

TextPlan list(const Layout& layout, const GlyphMetrics& font)
{
    const QStringList& options = layout.look.options;
    const qsizetype count = std::min<qsizetype>(options.size(), kMaxOptions);
    const double written = writtenSize(layout.look);
    TextPlan plan{written > 0 ? written : kLargestAutoSize, {}, {}};
    if (count == 0)
        return plan;
    const qsizetype first = std::clamp<qsizetype>(layout.look.topIndex, 0, count - 1);
    const QSet<int> selected(layout.look.selected.begin(), layout.look.selected.end());
    QList<TextRun> lines;
    for (qsizetype i = first; i < count; ++i)
        lines.append(TextRuns::shape(TextRuns::asOneLine(TextRuns::codePoints(options.at(i))), font));
    placeFromTop(layout, lines, plan);
    const double lineHeight = layout.metrics.lineHeight(plan.fontSize);
    for (qsizetype row = 0; row < plan.lines.size(); ++row) {
        if (selected.contains(int(first + row)))
            plan.highlights.append({layout.inner.x, layout.top() - double(row + 1) * lineHeight, layout.inner.width,
                                    lineHeight});
    }
    return plan;
}

} // namespace

TextPlan plan(const WidgetLook& look, const TextBox& inner, double boxWidth, const GlyphMetrics& font)
{
    const Layout layout{look, inner, VerticalMetrics(font)};
    if (look.kind == WidgetKind::List)
        return list(layout, font);
    const QList<char32_t> text = TextRuns::codePoints(look.text);
    if (look.kind == WidgetKind::Combo)
        return singleLine(layout, TextRuns::shape(TextRuns::asOneLine(text), font));
    if (look.password) {
        // Only as many stars as the value has characters reach the stream.
        const QList<char32_t> stars(TextRuns::asOneLine(text).size(), U'*');
        return singleLine(layout, TextRuns::shape(stars, font));
    }
    if (look.comb && look.maxLength > 0 && !look.multiline)
        return comb(layout, TextRuns::shape(TextRuns::asOneLine(text), font), boxWidth);
    if (look.multiline)
        return multiline(layout, text, font);
    return singleLine(layout, TextRuns::shape(TextRuns::asOneLine(text), font));
}

} // namespace velk::TextPlanner
