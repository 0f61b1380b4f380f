#pragma once

// Where the text of a filled text, combo or list widget goes: the font
// size, every line (or comb cell) with its start and baseline, and the
// highlight bands of chosen list options. Pure layout inside the clip box;
// the appearance builder writes the plan out.

#include "forms/appearance/GlyphMetrics.h"
#include "forms/appearance/TextRuns.h"
#include "forms/appearance/WidgetLook.h"

#include <QList>

namespace velk {

struct TextBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

struct PlacedLine {
    TextRun run;
    double x = 0;
    double baseline = 0;
};

struct TextPlan {
    double fontSize = 0;
    QList<PlacedLine> lines;
    QList<TextBox> highlights;
};

namespace TextPlanner {

// The layout of the widget's text inside inner (the clip box) of a box
// boxWidth wide; text starts one point inside inner's left and right.
TextPlan plan(const WidgetLook& look, const TextBox& inner, double boxWidth, const GlyphMetrics& font);

} // namespace TextPlanner
} // namespace velk
